#!/bin/sh
# The rules of the source that the machine checks, run by `make test`:
# - every C++ file is formatted as .clang-format says;
# - no layer includes a higher one: runtime <- ui/windows <- ui/controls <-
#   game, for the product and for each layer's own tests;
# - no product files include each other in a circle, inside a layer or
#   across layers (a header and its .cpp count as one file).
# Prints each breach and exits non-zero when there is any.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h')
else
    files=$(find game runtime ui tests -name '*.cpp' -o -name '*.h')
fi

# A layer's rank; lower ranks may not include higher ones. Empty: no layer.
rank() {  # path
    case $1 in
        runtime/* | tests/runtime/*) echo 0 ;;
        ui/windows/* | tests/ui/windows/*) echo 1 ;;
        ui/controls/* | tests/ui/controls/*) echo 2 ;;
        game/* | tests/game/*) echo 3 ;;
    esac
}

status=0
for file in $files; do
    own=$(rank "$file")
    [ -n "$own" ] || continue
    for included in $(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file"); do
        theirs=$(rank "$included")
        if [ -n "$theirs" ] && [ "$theirs" -gt "$own" ]; then
            echo "layers: $file includes $included, which is a higher layer"
            status=1
        fi
    done
done

# Each circle is printed once per include that closes it, from the file it
# returns to: "a -> b -> a".
circles=$(for file in $files; do
    case $file in tests/*) continue ;; esac
    sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file" | while read -r included; do
        echo "${file%.*} ${included%.*}"
    done
done | awk '
    $1 != $2 && !(($1, $2) in edge) { edge[$1, $2] = 1; out[$1] = out[$1] " " $2; unit[$1]; unit[$2] }
    function visit(v,    n, i, next_units, w, k, path) {
        state[v] = 1
        stack[++depth] = v
        n = split(out[v], next_units, " ")
        for (i = 1; i <= n; i++) {
            w = next_units[i]
            if (state[w] == 1) {
                for (k = depth; stack[k] != w; k--)
                    ;
                path = w
                for (k++; k <= depth; k++)
                    path = path " -> " stack[k]
                print path " -> " w
            } else if (!state[w]) {
                visit(w)
            }
        }
        depth--
        state[v] = 2
    }
    END { for (v in unit) if (!state[v]) visit(v) }' | sort)
if [ -n "$circles" ]; then
    echo "$circles" | sed 's/^/includes: circle /'
    status=1
fi

# shellcheck disable=SC2086
unformatted=$(clang-format --style=file --dry-run $files 2>&1 |
    sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)
if [ -n "$unformatted" ]; then
    for file in $unformatted; do
        echo "format: $file is not as .clang-format says (clang-format -i $file)"
    done
    status=1
fi
[ $status -eq 0 ] && echo "== sources: formatted, layers kept, no include circles"
exit $status
