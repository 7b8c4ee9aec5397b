#!/bin/sh
# Runs a GoogleTest program under Wine in the given prefix, creating the prefix
# first when it does not exist, and judges the run. Usage:
# wine-run.sh PREFIX PROGRAM [ARGS...]; CTest calls it for every test program.
# A run passes only when the program exited with status 0, Wine reported no
# crash, and GoogleTest printed its final summary with no failed test: under
# Wine a crashed program can end with status 0, and a program can report
# failures and still exit 0.
set -eu
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"
"$here/wine-prefix.sh" "$prefix" "$1" >&2
export WINEPREFIX="$prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

output=$(mktemp)
trap 'rm -f "$output"' EXIT
# Both streams go to a file, which is judged and then passed on to CTest. Not
# through a pipe: Wine services that the program happens to start inherit its
# output and would hold a pipe open long after the program has ended.
status=0
wine "$@" >"$output" 2>&1 || status=$?
cat "$output"
program=$(basename "$1")
if [ "$status" -ne 0 ]; then
    echo "wine-run: $program exited with status $status" >&2
    exit 1
fi
# Wine's own report of an unhandled exception, and its debugger's.
if grep -q -e '^wine: Unhandled ' -e '^Unhandled exception: ' "$output"; then
    echo "wine-run: $program crashed" >&2
    exit 1
fi
if ! grep -q '^\[==========\] .* ran\.' "$output" || ! grep -q '^\[  PASSED  \] ' "$output"; then
    echo "wine-run: $program ended without GoogleTest's final summary" >&2
    exit 1
fi
if grep -q '^\[  FAILED  \] ' "$output"; then
    echo "wine-run: $program reported failed tests" >&2
    exit 1
fi
