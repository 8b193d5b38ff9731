#!/bin/sh
# Starts Quillon under Wine: the 32-bit build where this machine can run
# 32-bit Wine, the 64-bit build elsewhere. Without WINEPREFIX it runs in a
# private demo prefix of the build tree, which holds a few values that name
# real folders, so that a first search finds something. Without a display it
# runs on a virtual one (Xvfb), which is only useful to see that it starts.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    arch=i686 loader=/usr/lib/wine/wine
else
    arch=x86_64 loader=/usr/lib/wine/wine64
    echo "This machine cannot run 32-bit Wine: starting the 64-bit build."
fi
program="$root/build/$arch/src/Quillon.exe"

if [ -z "${WINEPREFIX:-}" ]; then
    WINEPREFIX="$root/build/$arch/demoprefix"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        "$root/scripts/make-prefix.sh" "$WINEPREFIX"
        "$root/scripts/add-demo-values.sh" "$WINEPREFIX"
    fi
fi
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running on a virtual display (:77)."
    Xvfb :77 -screen 0 1280x800x24 >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=:77
    sleep 1
fi
status=0
"$loader" "$program" || status=$?
[ -n "$xvfb_pid" ] && kill "$xvfb_pid"
exit $status
