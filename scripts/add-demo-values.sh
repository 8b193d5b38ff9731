#!/bin/sh
# Puts a few values that name real folders of the prefix under
# HKEY_CURRENT_USER\Software\QuillonDemo, in several cases and forms, so that a
# search for C:\Program Files\Common Files finds something.
# Usage: add-demo-values.sh PREFIX
set -e
export WINEPREFIX=$(cd "$1" && pwd) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
reg() { /usr/lib/wine/wine64 reg add "$@" /f >/dev/null; }
key='HKCU\Software\QuillonDemo'
reg "$key" /v InstallDir /d 'C:\Program Files\Common Files'
reg "$key\Tools" /v Path /d 'c:\program files\common files\tools;C:\windows'
reg "$key\Tools" /ve /d 'C:\PROGRAM FILES\COMMON FILES\tools\tool.exe'
reg "$key\Tools" /v Expanded /t REG_EXPAND_SZ /d 'C:\Program Files\Common Files\not listed'
reg "$key\Documents" /v Folder /d 'C:\users\Public\Documents'
wineserver -k || true
