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

# A virtual display of its own.
. "$root/scripts/virtual-display.sh"
stop() {
    wineserver -k 2>/dev/null || true
    stop_virtual_display
}
trap stop EXIT
trap 'exit 1' INT TERM HUP
start_virtual_display || { echo "Xvfb did not start" >&2; exit 1; }

/usr/lib/wine/wine64 "$program" >/dev/null 2>&1 &
frame=$(wait_for_window '^Quillon - Vantrel$' 120)
sleep 1

# Tool > Search from the keyboard. The dialog opens with OK focused; two tabs
# (past Cancel) reach 'Find What', and Enter presses OK.
xdotool windowfocus "$frame"
xdotool key alt+t
sleep 0.5
xdotool key s
dialog=$(wait_for_window '^Search Options$' 20)
xdotool windowfocus "$dialog"
xdotool key Tab Tab
xdotool type --delay 10 'C:\Program Files\Common Files'
xdotool key Tab
xdotool type --delay 10 'D:\Common Files'
xdotool key Return

# The box that ends the search; no other box is expected.
box=$(wait_for_window '^Quillon$' 1200)
xdotool windowfocus "$box"
xdotool key Return
wait_window_gone '^Quillon$'
sleep 1

mkdir -p "$root/docs"
import -window "$frame" "$root/docs/screenshot.png"
echo "Wrote $root/docs/screenshot.png"
