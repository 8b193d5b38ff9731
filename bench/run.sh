#!/bin/sh
# The search benchmark. On one synthetic registry of about 100,000 keys (made
# once, in a private prefix of the build tree) it runs, in one go:
#   a  a bare walk with the registry calls alone (the limit)
#   b  the whole search through the real window and worker, headless
#   c  the same under a virtual display (Xvfb)
#   d  Wine's own "reg query /s" of the same five root keys, its output
#      searched for the find text regardless of case, as a peer
# and prints keys per second for each and the time ratios b/a, c/a, d/b.
# Every Wine process runs either pinned to one processor with its Wine
# server, or unpinned; both are measured and the faster is reported.
# Usage: bench/run.sh [BUILD_TREE]   (default build/x86_64)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$root/build/x86_64}" && pwd)
prefix="$tree/benchprefix"
find_text='C:\Program Files\Common Files'
wine=/usr/lib/wine/wine64
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

"$root/scripts/make-prefix.sh" "$prefix" null >/dev/null
# Made once per build tree (a few minutes); pinned, since every value
# written is a round trip to the Wine server.
wineserver -k 2>/dev/null || true
taskset -c 0 wineserver -p
if ! "$wine" reg query 'HKCU\Software\QuillonBench' /v Complete 2>/dev/null | grep -q 0x2; then
    echo "Making the synthetic registry (once)..."
    taskset -c 0 "$wine" "$tree/bench/make_registry.exe" "$find_text"
fi

calc() { awk "BEGIN { print $1 }"; }

# $1: "taskset -c 0" or "" ; $2: null or display
start_server() {
    wineserver -k 2>/dev/null || true
    if [ "$2" = null ]; then
        $1 "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    else
        $1 "$wine" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
    fi
    wineserver -k 2>/dev/null || true
    $1 wineserver -p
    # Warm the server and its helper processes before anything is timed.
    $1 "$wine" "$tree/bench/bench_search.exe" bare x >/dev/null
}

# Prints "<seconds> <keys>" of one mode.
timed_search() { # $1 pin, $2 mode
    $1 "$wine" "$tree/bench/bench_search.exe" "$2" "$find_text" | tail -n 1 | cut -d' ' -f2,3
}

peer_search() { # $1 pin: seconds of reg query /s over the five roots, searched
    start=$(date +%s.%N)
    for key in HKCR HKCU HKLM HKU HKCC; do
        $1 "$wine" reg query "$key" /s 2>/dev/null
    done | grep -ic 'c:\\program files\\common files' >/dev/null || true
    end=$(date +%s.%N)
    calc "$end - $start"
}

run_set() { # $1 pin, $2 label
    start_server "$1" null
    a=$(timed_search "$1" bare)
    b=$(timed_search "$1" window)
    d=$(peer_search "$1")
    # The display must be known before the server starts its desktop.
    export DISPLAY=:$display
    start_server "$1" display
    c=$(timed_search "$1" window)
    unset DISPLAY
    keys=${a#* }
    ta=${a% *}; tb=${b% *}; tc=${c% *}
    printf '%s\n' "$2"
    printf '  a bare walk        %8.2f s  %9.0f keys/s\n' "$ta" "$(calc "$keys / $ta")"
    printf '  b search, headless %8.2f s  %9.0f keys/s\n' "$tb" "$(calc "$keys / $tb")"
    printf '  c search, display  %8.2f s  %9.0f keys/s\n' "$tc" "$(calc "$keys / $tc")"
    printf '  d reg query /s     %8.2f s  %9.0f keys/s\n' "$d" "$(calc "$keys / $d")"
    printf '  b/a %.2f   c/a %.2f   d/b %.2f   (%s keys)\n' \
        "$(calc "$tb / $ta")" "$(calc "$tc / $ta")" "$(calc "$d / $tb")" "$keys"
    echo "$tb" > "$tree/bench-$3.seconds"
}

display=78
while [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
Xvfb :$display -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1

run_set "" "unpinned" unpinned
run_set "taskset -c 0" "pinned to one processor" pinned
faster=$(awk -v p="$(cat "$tree/bench-pinned.seconds")" -v u="$(cat "$tree/bench-unpinned.seconds")" \
    'BEGIN { print (p < u) ? "pinned" : "unpinned" }')
echo "faster here: $faster"
