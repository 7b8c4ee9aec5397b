#!/bin/sh
# `make leaks`: builds the chosen targets and plays 500 reaction trials in a
# row against each built game under Wine, through the end-to-end driver,
# sampling the game's handles, GDI and USER objects, private memory and
# threads after every trial. Prints the first and last values and the slope,
# and fails when a count grows beyond its bound (see tests/e2e/leaks.cpp).
# TRIALS=n plays another number of trials; ARCHES picks the targets (default both).
set -eu
. "$(dirname "$0")/common.sh"
cleanup_at_exit

setup_and_build --quiet Flinchmeter e2e_leaks

start_xvfb
status=0
for arch in $ARCHES; do
    echo
    echo "== $arch build: e2e_leaks under Wine ($(wine --version 2>/dev/null || echo wine))"
    run_driver "$arch" e2e_leaks "${TRIALS:-500}" || status=1
done
exit $status
