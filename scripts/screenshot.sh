#!/bin/sh
# Remakes docs/screenshot.png: Quillon after one search for
# C:\Program Files\Common Files (replace with D:\Common Files) in a demo
# prefix, on a virtual display of its own. The program is driven with the
# keyboard through xdotool, as a user would drive it.
# Usage: screenshot.sh [BUILD_TREE]    (default: build/x86_64, built)
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$root/build/x86_64}" && pwd)
program="$tree/src/Quillon.exe"
[ -f "$program" ] || { echo "No $program: build it first (make build)." >&2; exit 1; }

# A prefix with a real graphics driver (not the null one of the tests) and
# the demo values.
export WINEPREFIX="$tree/shotprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    "$root/scripts/make-prefix.sh" "$WINEPREFIX"
    "$root/scripts/add-demo-values.sh" "$WINEPREFIX"
fi

# A virtual display on the first free display number.
n=90
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$n"
stop() {
    wineserver -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT
trap 'exit 1' INT TERM HUP

# The first window whose title matches, as soon as there is one.
wait_for() {
    i=0
    while [ "$i" -lt "$2" ]; do
        id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.5
        i=$((i + 1))
    done
    echo "Timed out waiting for a window titled $1" >&2
    return 1
}
# Waits until the window is gone.
wait_gone() {
    while xdotool getwindowname "$1" >/dev/null 2>&1; do sleep 0.2; done
}

i=0
until xdpyinfo >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -lt 50 ] || { echo "Xvfb did not start" >&2; exit 1; }
    sleep 0.2
done

/usr/lib/wine/wine64 "$program" >/dev/null 2>&1 &
frame=$(wait_for '^Quillon - Vantrel$' 120)
sleep 1

# Tool > Search from the keyboard. The dialog opens with OK focused; two tabs
# (past Cancel) reach 'Find What', and Enter presses OK.
xdotool windowfocus "$frame"
xdotool key alt+t
sleep 0.5
xdotool key s
dialog=$(wait_for '^Search Options$' 20)
xdotool windowfocus "$dialog"
xdotool key Tab Tab
xdotool type --delay 10 'C:\Program Files\Common Files'
xdotool key Tab
xdotool type --delay 10 'D:\Common Files'
xdotool key Return

# The box that ends the search; no other box is expected.
box=$(wait_for '^Quillon$' 1200)
xdotool windowfocus "$box"
xdotool key Return
wait_gone "$box"
sleep 1

mkdir -p "$root/docs"
import -window "$frame" "$root/docs/screenshot.png"
echo "Wrote $root/docs/screenshot.png"
