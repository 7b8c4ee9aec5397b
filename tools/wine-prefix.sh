#!/bin/sh
# Creates a private Wine prefix for the architecture of the given program
# (PE32 gives a 32-bit prefix, PE32+ a 64-bit one) and sets it up for tests:
# a 1024x768 virtual desktop, so that windows get real frames and close fast.
# Does nothing when the prefix is ready.
# Usage: [FLINCH_DPI=n] wine-prefix.sh PREFIX PROGRAM [no-desktop]
# With no-desktop, programs get ordinary windows on the display instead (for
# playing on a display that has a window manager). With FLINCH_DPI, the
# prefix's display has n dots per inch instead of 96, and its desktop is the
# same screen at that resolution (see desktop_size).
set -eu
. "$(dirname "$0")/common.sh"
prefix=$1
program=${2:-}
desktop=${3:-desktop}
dpi=${FLINCH_DPI:-96}

# Wine draws the frame's close box and other glyphs with Marlett. Debian's
# Wine 8 does not find the copy that fonts-wine installs in /usr/share/wine/
# fonts (it is neither in Wine's own font folder as built nor known to
# fontconfig), so the close box shows the letter "r"; the prefix's own Fonts
# folder is always searched. Done for ready prefixes too, so older ones mend.
link_marlett() {
    fonts="$prefix/drive_c/windows/Fonts"
    if [ -d "$fonts" ] && [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -e "$fonts/marlett.ttf" ]; then
        ln -sf /usr/share/wine/fonts/marlett.ttf "$fonts/marlett.ttf" 2>/dev/null || true
    fi
}

if [ -f "$prefix/.flinch-ready" ]; then
    link_marlett
    exit 0
fi

arch=win32
if [ -n "$program" ] && file -b "$program" 2>/dev/null | grep -q 'PE32+'; then
    arch=win64
fi
mkdir -p "$(dirname "$prefix")"
# Another test may be creating the same prefix right now.
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/.flinch-ready" ]; then
    link_marlett
    exit 0
fi

export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine wineboot.exe -i >/dev/null 2>&1
if [ "$desktop" != no-desktop ]; then
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$(desktop_size "$dpi")" /f >/dev/null 2>&1
fi
# Wine takes the display's resolution from here.
if [ "$dpi" != 96 ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
# No crash dialog that would wait for a click that never comes.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
link_marlett
touch "$prefix/.flinch-ready"
