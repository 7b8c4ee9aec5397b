#!/bin/sh
# `make screenshot`: refreshes docs/flinchmeter.png and docs/results.png from
# the real program. Builds the 32-bit game, runs it under Wine in a 1024x768
# virtual desktop on a private Xvfb display, plays one trial through the
# end-to-end driver (e2e_pose) and saves the game's window, frame included, as
# a PNG; then the same window after the game was told it moved to a monitor
# of 144 DPI (docs/flinchmeter-moved-to-144dpi.png), and, back at 96, after
# nine more trials the session results window. Last, the first picture again
# on a display of 144 DPI: docs/flinchmeter-144dpi.png.
# On a machine that cannot run 32-bit programs it poses the 64-bit game,
# which draws the same window.
set -eu
. "$(dirname "$0")/common.sh"
cleanup_at_exit

"$ROOT/tools/setup.sh"
ARCHES=i686
if ! runs_32bit; then
    ARCHES=x86_64
    echo "== this machine cannot run 32-bit programs: posing the 64-bit game"
fi
setup_and_build --quiet Flinchmeter e2e_pose
dir="$BUILD/$ARCHES"
prefix="$BUILD/screenshot-prefix"
prefix_144="$BUILD/screenshot-prefix-144dpi"
pose="$dir/tests/e2e/e2e_pose.exe"
shot="$ROOT/docs/flinchmeter.png"
results_shot="$ROOT/docs/results.png"
shot_144="$ROOT/docs/flinchmeter-144dpi.png"
moved_shot="$ROOT/docs/flinchmeter-moved-to-144dpi.png"
work=$(mktemp -d)
rect="$work/rect"
done_file="$work/done"
results_rect="$work/results-rect"
results_done="$work/results-done"
moved_rect="$work/moved-rect"
moved_done="$work/moved-done"

start_xvfb
"$ROOT/tools/wine-prefix.sh" "$prefix" "$pose"
start_wineserver "$prefix"
WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    wine "$pose" "$dir/game/Flinchmeter.exe" "$rect" "$done_file" "$results_rect" "$results_done" \
        "$moved_rect" "$moved_done" &
poser=$!

# Waits for the poser's rectangle file, then saves that part of the screen.
take() {  # rect-file done-file picture
    waited=0
    while [ ! -s "$1" ]; do
        if ! kill -0 "$poser" 2>/dev/null || [ $waited -ge 600 ]; then
            echo "screenshot: the game could not be posed" >&2
            wait "$poser" 2>/dev/null || true
            rm -rf "$work"
            exit 1
        fi
        sleep 0.2
        waited=$((waited + 1))
    done
    read -r w h x y <"$1"
    mkdir -p "$ROOT/docs"
    # The virtual desktop sits at the X screen's top-left corner, so desktop
    # and screen coordinates agree.
    import -window root -crop "${w}x${h}+${x}+${y}" +repage "$3"
    touch "$2"
    echo "Saved ${w}x${h} screenshot to $3"
}
take "$rect" "$done_file" "$shot"
take "$moved_rect" "$moved_done" "$moved_shot"
take "$results_rect" "$results_done" "$results_shot"
status=0
wait "$poser" || status=$?
[ $status -eq 0 ] || { echo "screenshot: the game did not close cleanly" >&2; rm -rf "$work"; exit 1; }

# One desktop on the screen at a time: the picture is cut from the screen.
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
rm -f "$rect" "$done_file"
FLINCH_DPI=144 "$ROOT/tools/wine-prefix.sh" "$prefix_144" "$pose"
start_wineserver "$prefix_144" "$(desktop_size 144)"
WINEPREFIX="$prefix_144" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    wine "$pose" "$dir/game/Flinchmeter.exe" "$rect" "$done_file" &
poser=$!
take "$rect" "$done_file" "$shot_144"
wait "$poser" || status=$?
rm -rf "$work"
[ $status -eq 0 ] || { echo "screenshot: the game did not close cleanly at 144 DPI" >&2; exit 1; }
