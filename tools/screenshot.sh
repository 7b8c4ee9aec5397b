#!/bin/sh
# `make screenshot`: refreshes docs/flinchmeter.png from the real program.
# Builds the 32-bit game, runs it under Wine in a 1024x768 virtual desktop on
# a private Xvfb display, plays one trial through the end-to-end driver
# (e2e_pose) and saves the game's window, frame included, as a PNG.
set -eu
. "$(dirname "$0")/common.sh"
trap cleanup EXIT INT TERM

"$ROOT/tools/setup.sh"
configure_and_build i686 Flinchmeter e2e_pose >/dev/null
dir="$BUILD/i686"
prefix="$BUILD/screenshot-prefix"
pose="$dir/tests/e2e/e2e_pose.exe"
shot="$ROOT/docs/flinchmeter.png"
work=$(mktemp -d)
rect="$work/rect"
done_file="$work/done"

start_xvfb
"$ROOT/tools/wine-prefix.sh" "$prefix" "$pose"
start_wineserver "$prefix"
WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    wine "$pose" "$dir/game/Flinchmeter.exe" "$rect" "$done_file" &
poser=$!

waited=0
while [ ! -s "$rect" ]; do
    if ! kill -0 "$poser" 2>/dev/null || [ $waited -ge 300 ]; then
        echo "screenshot: the game could not be posed" >&2
        wait "$poser" 2>/dev/null || true
        rm -rf "$work"
        exit 1
    fi
    sleep 0.2
    waited=$((waited + 1))
done
read -r w h x y <"$rect"
mkdir -p "$ROOT/docs"
# The virtual desktop sits at the X screen's top-left corner, so desktop and
# screen coordinates agree.
import -window root -crop "${w}x${h}+${x}+${y}" +repage "$shot"
touch "$done_file"
status=0
wait "$poser" || status=$?
rm -rf "$work"
[ $status -eq 0 ] || { echo "screenshot: the game did not close cleanly" >&2; exit 1; }
echo "Saved ${w}x${h} screenshot of the game's window to $shot"
