#!/bin/sh
# `make test`: installs what is missing, builds both targets, checks the
# sources' formatting and layering (tools/check-sources.sh) and runs every
# test program under Wine on a private Xvfb display, one persistent
# wineserver per prefix. Each target's tests run in its own prefix; those
# labelled with a DPI (144dpi) run again in a prefix of their own whose
# display has that resolution, one prefix at a time, so that no two virtual
# desktops share the screen. Exits non-zero when anything fails.
set -eu
. "$(dirname "$0")/common.sh"
cleanup_at_exit

setup_and_build
status=0
"$ROOT/tools/check-sources.sh" || status=1

# Runs CTest in one prefix with the given label filter, unless the filter
# (with CTEST_ARGS) selects no test.
run_in_prefix() {  # dir prefix dpi ctest-label-arguments...
    dir=$1; prefix=$2; dpi=$3; shift 3
    # shellcheck disable=SC2086
    if ctest --test-dir "$dir" -N "$@" ${CTEST_ARGS:-} | grep -q '^Total Tests: 0$'; then
        return 0
    fi
    probe=$(find "$dir/tests" -name '*_tests.exe' | head -n 1)
    FLINCH_DPI=$dpi "$ROOT/tools/wine-prefix.sh" "$prefix" "$probe"
    start_wineserver "$prefix" "$(desktop_size "$dpi")"
    echo "== testing $(basename "$dir") at $dpi DPI"
    # shellcheck disable=SC2086
    WINEPREFIX="$prefix" ctest --test-dir "$dir" --output-on-failure "$@" ${CTEST_ARGS:-} ||
        status=1
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
}

start_xvfb
echo "== Xvfb on $DISPLAY"
not_run=""
for arch in $ARCHES; do
    if [ "$arch" = i686 ] && ! runs_32bit; then
        echo "== NOT testing i686: this machine cannot run 32-bit programs; that build was only compiled"
        not_run="$not_run $arch"
        continue
    fi
    dir="$BUILD/$arch"
    run_in_prefix "$dir" "$dir/wineprefix" 96 -LE '^[0-9]+dpi$'
    for label in $(ctest --test-dir "$dir" --print-labels | sed -n 's/^  *\([0-9][0-9]*dpi\)$/\1/p'); do
        run_in_prefix "$dir" "$dir/wineprefix-$label" "${label%dpi}" -L "^$label\$"
    done
done
if [ $status -ne 0 ]; then
    echo "== some tests FAILED"
elif [ -n "$not_run" ]; then
    echo "== all tests this machine can run passed; NOT run:$not_run (it cannot run 32-bit programs)"
else
    echo "== all tests passed"
fi
exit $status
