#!/bin/sh
# Runs the tests of one build (i686 or x86_64) through CTest under Wine, in
# that build tree's own prefix with the null graphics driver. The prefix's
# Wine server is started afresh and stopped at the end, whatever the result.
set -u
arch=$1
root=$(cd "$(dirname "$0")/.." && pwd)
prefix="$root/build/$arch/wineprefix"
"$root/scripts/make-prefix.sh" "$prefix" null || exit 1
export WINEPREFIX="$prefix"
wineserver -k 2>/dev/null
# A persistent server saves each test process the server's start-up.
wineserver -p
ctest --test-dir "$root/build/$arch" --output-on-failure -j1
status=$?
wineserver -k 2>/dev/null
exit $status
