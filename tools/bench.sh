#!/bin/sh
# `make bench`: builds the targets and plays at least 30 reaction trials
# against each built game under Wine, through the end-to-end driver: prints
# the read-out's error against the true delay, the polling loop's period,
# the game's own longest gap between looks at the key (from Copy's table),
# its handle count and private memory, and the size of the .exe files. Each
# game is paired with the game as it was at BASE, built from that commit in
# build/base-<commit>: the two take turns trial by trial in the same run, so
# that the ratio of their error figures holds on a noisy machine.
# It prints figures and judges none; it fails only when it cannot run.
# TRIALS=n plays more trials; ARCHES picks the targets (default both);
# BASE=<commit> names the game to pair with (default: the last commit before
# the press was stamped at the key event); BASE=none plays no pair;
# STALL=ms plays the fault run instead: every thread of the game held for
# that long just after the go text of each of TRIALS (default 5) trials.
set -eu
. "$(dirname "$0")/common.sh"
cleanup_at_exit

setup_and_build --quiet Flinchmeter e2e_bench

echo
echo "== size of the release .exe files (target: 32-bit at most 64 KiB = 65536 bytes)"
for arch in $ARCHES; do
    exe="$BUILD/$arch/game/Flinchmeter.exe"
    size=$(stat -c %s "$exe")
    printf '  %-7s %7d bytes (%d KiB)  %s\n' "$arch" "$size" $(( (size + 1023) / 1024 )) \
        "$(file -b "$exe" | cut -d, -f1)"
done

# The game before the stamp: the parent of the commit that brought it in.
base=${BASE:-}
if [ -z "$base" ] && [ -z "${STALL:-}" ]; then
    first=$(git -C "$ROOT" log --diff-filter=A --format=%H -- game/press_stamp.cpp | tail -n 1)
    base=${first:+$first^}
fi
[ "$base" = none ] && base=""
if [ -n "$base" ]; then
    commit=$(git -C "$ROOT" rev-parse --short "$base^{commit}")
    src="$BUILD/base-$commit/src"
    if [ ! -f "$src/CMakeLists.txt" ]; then
        mkdir -p "$src"
        git -C "$ROOT" archive "$commit" | tar -x -C "$src"
    fi
    for arch in $ARCHES; do
        dir="$BUILD/base-$commit/$arch"
        [ -f "$dir/CMakeCache.txt" ] ||
            cmake -S "$src" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-$arch.cmake" >/dev/null
        cmake --build "$dir" -j "$JOBS" --target Flinchmeter >/dev/null
    done
    echo "== paired with the game at $commit ($(git -C "$ROOT" log -1 --format=%s "$commit" | cut -c1-60))"
fi

start_xvfb
for arch in $ARCHES; do
    echo
    echo "== $arch build: e2e_bench under Wine ($(wine --version 2>/dev/null || echo wine))"
    if [ -n "${STALL:-}" ]; then
        run_driver "$arch" e2e_bench "${TRIALS:-5}" --stall "$STALL"
    elif [ -n "$base" ]; then
        run_driver "$arch" e2e_bench "${TRIALS:-30}" --base "$BUILD/base-$commit/$arch/game/Flinchmeter.exe"
    else
        run_driver "$arch" e2e_bench "${TRIALS:-30}"
    fi
done
