#!/bin/sh
# `make dist`: the release. Builds the game of both targets in the build
# folders that `make test` tests, checks that a bare Windows 7 loads each
# .exe, builds the 32-bit game a second time in a copy of the tree elsewhere
# to prove that the bytes depend on the source alone, and writes the zips,
# the .exe files and SHA256SUMS to dist/. Leaves no dist/ on failure.
set -eu
# A release is always both targets.
ARCHES="i686 x86_64"
. "$(dirname "$0")/common.sh"

SCRATCH=$(mktemp -d)
trap 'rm -rf "$SCRATCH"' EXIT
trap 'exit 1' INT TERM

# Every Windows from 7 on has these; the game must import nothing else.
SYSTEM_DLLS="kernel32.dll user32.dll gdi32.dll comctl32.dll winmm.dll ole32.dll msvcrt.dll"
MAX_I686_BYTES=65536

fail() {
    echo "dist: $*" >&2
    exit 1
}

release_name() {  # arch
    case $1 in
        i686) echo win32 ;;
        x86_64) echo win64 ;;
    esac
}

# Fails unless Windows 7 can load the .exe, and unless it carries neither a
# link time nor the folder it was built in.
check_exe() {  # arch exe tree
    arch=$1; exe=$2; tree=$3
    header=$("$arch-w64-mingw32-objdump" -p "$exe") || fail "objdump cannot read $exe"
    dlls=$(printf '%s\n' "$header" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr '\n' ' ')
    [ -n "$dlls" ] || fail "$exe: no import table found"
    for dll in $dlls; do
        case " $SYSTEM_DLLS " in
            *" $(printf '%s' "$dll" | tr '[:upper:]' '[:lower:]') "*) ;;
            *) fail "$exe imports $dll; it may import only $SYSTEM_DLLS" ;;
        esac
    done
    subsystem=$(printf '%s\n' "$header" |
        awk '$1 == "MajorSubsystemVersion" { a = $2 } $1 == "MinorSubsystemVersion" { b = $2 }
             END { print a "." b }')
    os=$(printf '%s\n' "$header" |
        awk '$1 == "MajorOSystemVersion" { a = $2 } $1 == "MinorOSystemVersion" { b = $2 }
             END { print a "." b }')
    for v in "$subsystem" "$os"; do
        awk -v v="$v" 'BEGIN { split(v, p, "."); exit !(p[1] != "" && (p[1] < 6 || (p[1] == 6 && p[2] <= 1))) }' ||
            fail "$exe asks for Windows $v (subsystem $subsystem, OS $os); Windows 7 is 6.1"
    done
    pe=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
    stamp=$(od -An -tu4 -j$((pe + 8)) -N4 "$exe" | tr -d ' ')
    [ "$stamp" = 0 ] || fail "$exe has a link time in its PE header ($stamp)"
    if grep -a -F -q "$tree" "$exe"; then
        fail "$exe names the folder it was built in ($tree)"
    fi
    bytes=$(wc -c <"$exe" | tr -d ' ')
    echo "$arch: $bytes bytes; imports $dlls(all on Windows 7);" \
        "subsystem $subsystem, OS $os (at most 6.1); no link time; no build folder"
}

# The zip of one .exe and the players' README.txt (with Windows line ends),
# with fixed entry times, modes and order: the same .exe gives the same zip.
package() {  # exe zip
    stage="$SCRATCH/stage"
    rm -rf "$stage"
    mkdir "$stage"
    cp "$1" "$stage/Flinchmeter.exe"
    sed "s/@VERSION@/$VERSION/" "$ROOT/docs/README.txt" |
        awk '{ printf "%s\r\n", $0 }' >"$stage/README.txt"
    chmod 644 "$stage/Flinchmeter.exe" "$stage/README.txt"
    TZ=UTC touch -t 198001010000 "$stage/Flinchmeter.exe" "$stage/README.txt"
    rm -f "$2"
    (cd "$stage" && TZ=UTC zip -q -X -9 "$2" Flinchmeter.exe README.txt)
}

# A failed run must not leave an older release looking like this one's.
rm -rf "$ROOT/dist"
setup_and_build Flinchmeter
out="$SCRATCH/dist"
mkdir "$out"
VERSION=$(sed -n 's/^#define FLINCH_VERSION_TEXT "\(.*\)"$/\1/p' "$BUILD/i686/resources/version.h")
[ -n "$VERSION" ] || fail "no version in $BUILD/i686/resources/version.h"

echo "== checking Flinchmeter $VERSION"
for arch in i686 x86_64; do
    exe="$BUILD/$arch/game/Flinchmeter.exe"
    check_exe "$arch" "$exe" "$ROOT"
    name=$(release_name "$arch")
    mkdir "$out/$name"
    cp "$exe" "$out/$name/Flinchmeter.exe"
    package "$exe" "$out/Flinchmeter-$VERSION-$name.zip"
done
i686_bytes=$(wc -c <"$out/win32/Flinchmeter.exe" | tr -d ' ')
[ "$i686_bytes" -le $MAX_I686_BYTES ] ||
    fail "the 32-bit .exe has $i686_bytes bytes, more than $MAX_I686_BYTES"

# The same source in another folder, built again from nothing, must give the
# same bytes.
again="$SCRATCH/again"
echo "== building i686 again in $again"
mkdir "$again"
for f in "$ROOT"/* "$ROOT"/.[!.]*; do
    [ -e "$f" ] || continue
    case ${f##*/} in build | dist | .git) continue ;; esac
    cp -R "$f" "$again/"
done
if ! (ROOT=$again; BUILD=$again/build; configure_and_build i686 Flinchmeter) >"$SCRATCH/again.log" 2>&1; then
    tail -n 20 "$SCRATCH/again.log" >&2
    fail "the second build failed"
fi
exe2="$again/build/i686/game/Flinchmeter.exe"
check_exe i686 "$exe2" "$again"
cmp -s "$out/win32/Flinchmeter.exe" "$exe2" ||
    fail "not reproducible: a second build of the same tree in another folder gave" \
        "another 32-bit .exe ($(cmp -l "$out/win32/Flinchmeter.exe" "$exe2" | wc -l) bytes differ)"
package "$exe2" "$SCRATCH/again.zip"
cmp -s "$out/Flinchmeter-$VERSION-win32.zip" "$SCRATCH/again.zip" ||
    fail "not reproducible: zipping the same .exe twice gave different zips"
echo "reproducible: the second build gave the same .exe and the same zip"

mv "$out" "$ROOT/dist"
cd "$ROOT/dist"
sha256sum "Flinchmeter-$VERSION-win32.zip" "Flinchmeter-$VERSION-win64.zip" \
    win32/Flinchmeter.exe win64/Flinchmeter.exe >SHA256SUMS
sha256sum -c --quiet SHA256SUMS
echo "== dist/SHA256SUMS"
cat SHA256SUMS
echo "== dist/"
for f in *.zip */Flinchmeter.exe; do
    echo "$(wc -c <"$f" | tr -d ' ') bytes  $f"
done
