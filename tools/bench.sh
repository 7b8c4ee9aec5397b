#!/bin/sh
# `make bench`: builds the targets and plays at least 30 reaction trials
# against each built game under Wine, through the end-to-end driver: prints
# the read-out's error against the true delay, the polling loop's period,
# the game's handle count and private memory, and the size of the .exe files.
# It prints figures and judges none; it fails only when it cannot run.
# TRIALS=n plays more trials; ARCHES picks the targets (default both).
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

start_xvfb
for arch in $ARCHES; do
    echo
    echo "== $arch build: e2e_bench under Wine ($(wine --version 2>/dev/null || echo wine))"
    run_driver "$arch" e2e_bench "${TRIALS:-30}"
done
