#!/bin/sh
# Runs a Windows program under Wine in the given prefix, creating the prefix
# first when it does not exist. Usage: wine-run.sh PREFIX PROGRAM [ARGS...]
# CTest calls it for every test program.
set -eu
prefix=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
"$here/wine-prefix.sh" "$prefix" "$1" >&2
export WINEPREFIX="$prefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
