#!/bin/sh
# Creates a private Wine prefix on first use. With "null" as second argument
# the prefix uses Wine's null graphics driver, so windows, dialogs and message
# boxes work without a display (for tests).
# Usage: make-prefix.sh PREFIX [null]
set -e
mkdir -p "$1"
prefix=$(cd "$1" && pwd)
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$prefix/system.reg" ] && exit 0
echo "Creating the Wine prefix $prefix"

/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true
if [ "$2" = null ]; then
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
fi
wineserver -k || true
[ -f "$prefix/system.reg" ] || { echo "Wine could not create $prefix" >&2; exit 1; }
