#!/bin/sh
# `make test`: installs what is missing, builds both targets and runs every
# test program under Wine on a private Xvfb display, one persistent
# wineserver per target's prefix. Exits non-zero when anything fails.
set -eu
. "$(dirname "$0")/common.sh"
trap cleanup EXIT INT TERM

"$ROOT/tools/setup.sh"
for arch in $ARCHES; do
    echo "== building $arch"
    configure_and_build "$arch"
done

start_xvfb
echo "== Xvfb on $DISPLAY"
status=0
for arch in $ARCHES; do
    dir="$BUILD/$arch"
    prefix="$dir/wineprefix"
    probe=$(find "$dir/tests" -name '*_tests.exe' | head -n 1)
    "$ROOT/tools/wine-prefix.sh" "$prefix" "$probe"
    start_wineserver "$prefix"
    echo "== testing $arch"
    if ! WINEPREFIX="$prefix" ctest --test-dir "$dir" --output-on-failure ${CTEST_ARGS:-}; then
        status=1
    fi
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
done
[ $status -eq 0 ] && echo "== all tests passed" || echo "== some tests FAILED"
exit $status
