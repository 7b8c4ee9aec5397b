# Shared by the scripts behind the make targets. Sourced, not run.

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="$ROOT/build"
ARCHES=${ARCHES:-"i686 x86_64"}
JOBS=$(nproc 2>/dev/null || echo 2)

configure_and_build() {  # arch [targets...]
    arch=$1; shift
    dir="$BUILD/$arch"
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$arch.cmake" >/dev/null
    fi
    if [ $# -gt 0 ]; then
        cmake --build "$dir" -j "$JOBS" --target "$@"
    else
        cmake --build "$dir" -j "$JOBS"
    fi
}

# Installs what is missing, then builds the given targets (all when none are
# given) of every architecture in ARCHES; --quiet keeps the build's progress
# off the output.
setup_and_build() {  # [--quiet] [targets...]
    quiet=""
    if [ "${1:-}" = --quiet ]; then
        quiet=1
        shift
    fi
    "$ROOT/tools/setup.sh"
    for arch in $ARCHES; do
        echo "== building $arch"
        if [ -n "$quiet" ]; then
            configure_and_build "$arch" "$@" >/dev/null
        else
            configure_and_build "$arch" "$@"
        fi
    done
}

# Wine's `wine` command starts its 32-bit loader first, even for a 64-bit
# program, and some machines cannot run 32-bit code at all (virtual machines
# without a 32-bit user mode: "Exec format error"). There 64-bit programs go
# to the 64-bit loader directly, and the 32-bit build cannot be run.
WINE32_LOADER=/usr/lib/wine/wine
WINE64_LOADER=/usr/lib/wine/wine64
RUNS_32BIT=""
runs_32bit() {
    if [ -z "$RUNS_32BIT" ]; then
        if "$WINE32_LOADER" --version >/dev/null 2>&1; then RUNS_32BIT=yes; else RUNS_32BIT=no; fi
    fi
    [ "$RUNS_32BIT" = yes ]
}
wine() {
    if runs_32bit || [ ! -x "$WINE64_LOADER" ]; then
        command wine "$@"
    else
        WINELOADER="$WINE64_LOADER" "$WINE64_LOADER" "$@"
    fi
}

XVFB_PID=""
STARTED_PREFIXES=""

# The prefixes' virtual desktop: 1024x768 at 96 DPI, and the same screen at
# another DPI (1536x1152 at 144), so that windows scaled up fit as well.
desktop_size() {  # [dpi]
    echo "$((1024 * ${1:-96} / 96))x$((768 * ${1:-96} / 96))"
}

# Starts a private Xvfb on a free display and exports DISPLAY. The screen
# holds the desktop of a 144-DPI prefix, and its centre, where the pointer
# starts, lies inside a 1024x768 desktop: tests that move the cursor need it
# there.
start_xvfb() {
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    XVFB_PID=$!
    read -r num <"$fifo" || true
    rm -f "$fifo"
    if [ -z "${num:-}" ]; then
        echo "could not start Xvfb" >&2
        return 1
    fi
    export DISPLAY=":$num"
}

# Keeps one wineserver alive for the prefix for the rest of this script, and
# starts the prefix's own services and its virtual desktop now, detached from
# our output: started later by a test program, they would inherit its pipes
# and keep CTest waiting for them after the test ends.
start_wineserver() {  # prefix [desktop size]
    WINEPREFIX="$1" wineserver -p
    STARTED_PREFIXES="$STARTED_PREFIXES $1"
    WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        wine explorer.exe /desktop=Default,"${2:-$(desktop_size)}" </dev/null >/dev/null 2>&1 &
    WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        wine cmd.exe /c exit </dev/null >/dev/null 2>&1
    # Tests that need the foreground must not race the desktop's own start.
    tries=0
    until xwininfo -root -children 2>/dev/null | grep -q '"Default - Wine desktop"'; do
        tries=$((tries + 1))
        [ $tries -gt 100 ] && break
        sleep 0.2
    done
    sleep 0.5
}

# Runs a driver program of the arch's build (tests/e2e/NAME.exe) against the
# arch's game under Wine, with a persistent wineserver for the prefix that is
# stopped afterwards. Returns the program's status; says so and returns 0
# when the machine cannot run the arch's programs.
run_driver() {  # arch name [arguments after the game's path...]
    arch=$1; name=$2; shift 2
    dir="$BUILD/$arch"
    prefix="$dir/wineprefix"
    exe="$dir/tests/e2e/$name.exe"
    if [ "$arch" = i686 ] && ! runs_32bit; then
        echo "== NOT run for $arch: this machine cannot run 32-bit programs"
        return 0
    fi
    "$ROOT/tools/wine-prefix.sh" "$prefix" "$exe"
    start_wineserver "$prefix"
    rc=0
    WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
        wine "$exe" "$dir/game/Flinchmeter.exe" "$@" || rc=$?
    WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
    return $rc
}

# Runs cleanup when the script ends, and ends it (so cleaning up) when it is
# interrupted: a trap that only cleaned up would let the script go on.
cleanup_at_exit() {
    trap cleanup EXIT
    trap 'exit 1' INT TERM
}

cleanup() {
    for p in $STARTED_PREFIXES; do
        WINEPREFIX="$p" wineserver -k 2>/dev/null || true
    done
    STARTED_PREFIXES=""
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
}
