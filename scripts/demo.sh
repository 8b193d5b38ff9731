#!/bin/sh
# The demo that `make run` runs where there is no display. On a virtual
# display of its own, Quillon is driven through one whole search and export
# of the demo prefix as a user would drive it (drive_demo.exe types, presses
# and reads every box), and the screenshot, the backup file and the change
# file land in build/demo/. The demo values are put back first, since the
# import of the last demo changed them. Exits 0 only when every step worked.
# Usage: demo.sh ARCH    (i686 or x86_64, built)
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
arch=$1
tree="$root/build/$arch"
out="$root/build/demo"
case "$arch" in
    i686) loader=/usr/lib/wine/wine ;;
    *) loader=/usr/lib/wine/wine64 ;;
esac
fail() {
    echo "DEMO FAILED: $*" >&2
    exit 1
}
for file in "$tree/src/Quillon.exe" "$tree/demo/drive_demo.exe"; do
    [ -f "$file" ] || fail "no $file: build it first (make build)."
done

export WINEPREFIX="$tree/demoprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/make-prefix.sh" "$WINEPREFIX" || fail "cannot create the prefix $WINEPREFIX."
"$root/scripts/add-demo-values.sh" "$WINEPREFIX" || fail "cannot put the demo values back."
mkdir -p "$out" || fail "cannot create $out."
rm -f "$out/Backup.reg" "$out/Changes.reg" "$out/screenshot.png"
work=$(mktemp -d) || fail "cannot create a temporary folder."

. "$root/scripts/virtual-display.sh"
cleanup() {
    wineserver -k 2>/dev/null
    stop_virtual_display
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP
start_virtual_display || fail "Xvfb did not start."
echo "No display: the demo runs on the virtual display $DISPLAY, in the prefix $WINEPREFIX."

# A Windows program of the prefix, its output shown when it ends.
wine_run() { "$root/scripts/wine-run.sh" "$loader" "$WINEPREFIX" "$@"; }
folder=$(wine_run winepath -w "$out" | tr -d '\r')
request=$(wine_run winepath -w "$work/screenshot.wanted" | tr -d '\r')
if [ -z "$folder" ] || [ -z "$request" ]; then fail "winepath cannot name $out for Wine."; fi

# The driver runs in the background and asks for the screenshot by creating
# the request file, which is deleted once the screenshot is taken: when the
# box that ended the search has left the display too, and the rows under it
# are drawn again. The driver gives up by itself after 4 minutes; after 5,
# its Wine is stopped here. Wine's own messages go to a log, shown on failure.
("$loader" "$tree/demo/drive_demo.exe" "$folder" "$request" 2>"$work/wine.log"
    echo $? >"$work/status") &
driver=$!
shot="" ticks=0
until [ -f "$work/status" ]; do
    if [ -f "$work/screenshot.wanted" ]; then
        window=$(wait_for_window '^Quillon - Vantrel$') && wait_window_gone '^Quillon$' &&
            sleep 1 && import -window "$window" "$out/screenshot.png" && shot=yes
        rm -f "$work/screenshot.wanted"
    fi
    ticks=$((ticks + 1))
    if [ "$ticks" -eq 1500 ]; then
        echo "The driver did not end: stopping the demo prefix's Wine." >&2
        wineserver -k
    fi
    sleep 0.2
done
wait "$driver"
status=$(cat "$work/status")
if [ "$status" != 0 ]; then
    [ -s "$work/wine.log" ] && { echo "Wine's messages:"; cat "$work/wine.log"; } >&2
    fail "the driver stopped (exit code $status): see its message above."
fi
[ -n "$shot" ] || fail "the screenshot could not be taken."
for name in Backup.reg Changes.reg; do
    [ -s "$out/$name" ] || fail "$out/$name was not written."
done

# The import changed the three demo values that name the old folder as
# strings (the REG_EXPAND_SZ value, which the search does not look at, keeps
# it).
wine_run reg query 'HKCU\Software\QuillonDemo' /s >"$work/query" ||
    fail "reg query cannot read the demo values."
tr -d '\r' <"$work/query" >"$work/values"
echo
echo "The demo values after the import (reg query HKCU\\Software\\QuillonDemo /s):"
cat "$work/values"
for value in 'InstallDir    REG_SZ    D:\Common Files' \
    '(Default)    REG_SZ    D:\Common Files\tools\tool.exe' \
    'Path    REG_SZ    D:\Common Files\tools;C:\windows'; do
    grep -qxF "    $value" "$work/values" || fail "the import did not change the demo values."
done

for name in Backup.reg Changes.reg; do
    echo "== $out/$name"
    tr -d '\r' <"$out/$name"
done
echo "The demo worked. In $out:"
echo "  screenshot.png  the window with the rows of the search"
echo "  Backup.reg      the checked values as they were"
echo "  Changes.reg     the same values with the new folder, imported by the demo"
