#!/usr/bin/env bash
# Fails when an include runs from a lower layer to a higher one (klib < awt < screensaver < app) or
# when headers include each other in a circle. Reads the quoted includes of the four folders.
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
    case "$1" in
        klib) echo 0 ;; awt) echo 1 ;; screensaver) echo 2 ;; app) echo 3 ;; *) echo -1 ;;
    esac
}

status=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
while IFS= read -r file; do
    folder=${file%%/*}
    while IFS= read -r included; do
        target=${included%%/*}
        targetRank=$(rank "$target")
        if [ "$targetRank" -gt "$(rank "$folder")" ]; then
            echo "layer: $file includes $included ($folder must not know $target)" >&2
            status=1
        fi
        # Every header edge goes to tsort, which names a circle if there is one.
        case "$file" in *.h) [ "$targetRank" -ge 0 ] && echo "$file $included" >>"$edges" ;; esac
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    echo "$file $file" >>"$edges"
done < <(find klib awt screensaver app -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if ! tsort "$edges" >/dev/null 2>"$edges.loop"; then
    echo "layer: headers include each other in a circle:" >&2
    sed "s|^tsort: $edges: input contains a loop:|  circle:|; s|^tsort: |    |" "$edges.loop" >&2
    status=1
fi
rm -f "$edges.loop"
[ "$status" -eq 0 ] && echo "layers: clean"
exit "$status"
