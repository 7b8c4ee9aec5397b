#!/bin/sh
# Installs what building and testing need on a Debian machine; does nothing
# when everything is already there, so it is cheap to call before every build.
set -eu

need=""
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

for p in cmake make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools \
         wine wine32:i386 wine64 fonts-wine fonts-liberation xvfb xauth imagemagick googletest \
         x11-utils file zip clang-format; do
    have_pkg "$p" || need="$need $p"
done

if [ -z "$need" ]; then
    exit 0
fi

echo "setup: installing:$need"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if have_cmd sudo; then SUDO="sudo"; else
        echo "setup: root or sudo is needed to install:$need" >&2
        exit 1
    fi
fi

export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends $need </dev/null
