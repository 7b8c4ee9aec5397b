#!/bin/sh
# Creates a private Wine prefix for the architecture of the given program
# (PE32 gives a 32-bit prefix, PE32+ a 64-bit one) and sets it up for tests:
# a 1024x768 virtual desktop, so that windows get real frames and close fast.
# Does nothing when the prefix is ready. Usage: wine-prefix.sh PREFIX PROGRAM
set -eu
prefix=$1
program=${2:-}
[ -f "$prefix/.flinch-ready" ] && exit 0

arch=win32
if [ -n "$program" ] && file -b "$program" 2>/dev/null | grep -q 'PE32+'; then
    arch=win64
fi
mkdir -p "$(dirname "$prefix")"
# Another test may be creating the same prefix right now.
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.flinch-ready" ] && exit 0

export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
# No crash dialog that would wait for a click that never comes.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
touch "$prefix/.flinch-ready"
