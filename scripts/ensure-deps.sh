#!/bin/sh
# Installs what building, running and testing need, when it is missing:
# the mingw-w64 cross compilers (POSIX threads), Wine with its 32-bit part,
# Xvfb with xdotool and ImageMagick for a virtual display and its pictures.
set -e
missing=""
command -v i686-w64-mingw32-g++-posix >/dev/null 2>&1 || missing="$missing g++-mingw-w64-i686-posix"
command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || missing="$missing g++-mingw-w64-x86-64-posix"
[ -x /usr/lib/wine/wine64 ] || missing="$missing wine wine64"
[ -e /usr/lib/wine/wine ] || missing="$missing wine32:i386"
command -v Xvfb >/dev/null 2>&1 || missing="$missing xvfb"
command -v xdotool >/dev/null 2>&1 || missing="$missing xdotool"
command -v import >/dev/null 2>&1 || missing="$missing imagemagick"
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    case "$missing" in
        *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
    esac
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
