#!/usr/bin/env bash
# Checks that orlivex.scr is reproducible: builds the current commit a second time with
# tools/release.sh (in a fresh folder elsewhere, the saver alone) with the clock three days ahead,
# and compares that orlivex.scr byte for byte with the one in the given build folder, which must be
# a build of the same commit (as in CI, from a fresh clone). Exits non-zero on any difference.
#   tools/check-reproducible.sh [build-dir]
set -euo pipefail
# (The report of a difference below must not stop at cmp's own non-zero status.)

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
first=$build/orlivex.scr
if [ ! -f "$first" ]; then
    echo "check-reproducible: no $first; build first (tools/test.sh)" >&2
    exit 2
fi

work=$(mktemp -d -t orlivex-repro.XXXXXX)
trap 'rm -rf "$work"' EXIT
echo "check-reproducible: building $(git -C "$root" rev-parse --short HEAD) again in another folder, clock +3 days"
faketime -f +3d "$root/tools/release.sh" --dist "$work/dist" >/dev/null
zip=$(ls "$work"/dist/orlivex-*-win64.zip)
unzip -q -d "$work/unpacked" "$zip"
second=$work/unpacked/orlivex.scr

if cmp -s "$first" "$second"; then
    echo "check-reproducible: orlivex.scr is the same, $(stat -c %s "$first") bytes, sha256 $(sha256sum <"$first" | cut -d' ' -f1)"
    (cd "$work/unpacked" && sha256sum --quiet -c SHA256SUMS)
    exit 0
fi

{
    echo
    echo "======================================================================"
    echo "check-reproducible: FAILED - orlivex.scr differs between two builds"
    echo "  $first: $(stat -c %s "$first") bytes"
    echo "  second build: $(stat -c %s "$second") bytes"
    echo "  differing bytes: $(cmp -l "$first" "$second" | wc -l), the first (offset, octal values):"
    cmp -l "$first" "$second" | head -n 10 | sed 's/^/    /' || true
    echo "  header differences (objdump -p):"
    diff <(x86_64-w64-mingw32-objdump -p "$first") <(x86_64-w64-mingw32-objdump -p "$second") |
        head -n 20 | sed 's/^/    /' || true
    if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
        echo "  note: the work tree has uncommitted changes; the second build is of the commit alone"
    fi
    echo "======================================================================"
} >&2
exit 1
