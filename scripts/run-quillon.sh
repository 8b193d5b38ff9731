#!/bin/sh
# Starts Quillon under Wine: the 32-bit build where this machine can run
# 32-bit Wine, the 64-bit build elsewhere. Without WINEPREFIX it runs in a
# private demo prefix of the build tree, which holds a few values that name
# real folders, so that a first search finds something. Without a display
# (a server, CI) it runs the demo instead (demo.sh), always in the demo
# prefix.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    arch=i686 loader=/usr/lib/wine/wine
else
    arch=x86_64 loader=/usr/lib/wine/wine64
    echo "This machine cannot run 32-bit Wine: starting the 64-bit build."
fi
program="$root/build/$arch/src/Quillon.exe"

if [ -z "${DISPLAY:-}" ]; then
    # The demo imports changes into the prefix it runs in: never the user's.
    if [ -n "${WINEPREFIX:-}" ]; then
        echo "No display: the demo runs only in the demo prefix; $WINEPREFIX is left alone."
    fi
    exec "$root/scripts/demo.sh" "$arch"
fi

if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX="$root/build/$arch/demoprefix"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$root/scripts/make-prefix.sh" "$WINEPREFIX"
        "$root/scripts/add-demo-values.sh" "$WINEPREFIX"
    fi
fi
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
exec "$loader" "$program"
