#!/bin/sh
# Runs a Windows program under Wine in a given prefix, quietly.
# Usage: wine-run.sh LOADER PREFIX PROGRAM [ARGS...]
# LOADER is Wine's 32-bit or 64-bit loader, matching the program.
#
# The program writes to a file that is shown when it ends: Wine's helper
# processes (services, the desktop) that the program may start inherit its
# output and outlive it, and a caller waiting for the end of a pipe would
# wait for them too.
loader=$1
export WINEPREFIX=$2
shift 2
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
output=$(mktemp)
"$loader" "$@" >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
exit $status
