#!/bin/sh
# `make soak`: throws random real input at the built game under Wine for a
# while (DURATION seconds, default 300) through the end-to-end driver and
# checks after every action that the game still shows what it must. Prints
# the counts and fails on any invariant failure or crash. SEED=n repeats a
# run; ARCHES picks the targets (default the shipped i686 build).
set -eu
ARCHES=${ARCHES:-i686}
. "$(dirname "$0")/common.sh"
cleanup_at_exit

setup_and_build --quiet Flinchmeter e2e_soak

start_xvfb
status=0
for arch in $ARCHES; do
    echo
    echo "== $arch build: e2e_soak under Wine for ${DURATION:-300} s"
    run_driver "$arch" e2e_soak "${DURATION:-300}" "${SEED:-}" || status=1
done
[ $status -eq 0 ] && echo "== soak passed" || echo "== soak FAILED"
exit $status
