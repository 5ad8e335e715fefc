#!/usr/bin/env bash
# Checks that orlivex.scr and its installer are reproducible: builds the current commit a second
# time with tools/release.sh (in a fresh folder elsewhere, the saver alone) with the clock three days
# ahead, and compares that orlivex.scr byte for byte with the one in the given build folder, which
# must be a build of the same commit (as in CI, from a fresh clone); then packs the build folder's
# saver into an installer here, now, as the release does, and compares it with the release's.
# Exits non-zero on any difference.
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

# The installer of the first saver, packed as tools/release.sh packs it: same version, link and date.
same_installer() {
    local released first_msi cache=$build/CMakeCache.txt
    released=$(ls "$work"/dist/orlivex-*-win64.msi)
    first_msi=$work/first/$(basename "$released")
    mkdir "$work/first"
    (cd "$work/dist" && sha256sum --quiet -c "$(basename "$released").sha256")
    SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct HEAD) "$root/tools/make-msi.sh" \
        --version "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$cache")" \
        --url "$(sed -n 's/^CMAKE_PROJECT_HOMEPAGE_URL:STATIC=//p' "$cache")" "$first" "$first_msi"
    if cmp -s "$first_msi" "$released"; then
        echo "check-reproducible: $(basename "$released") is the same, $(stat -c %s "$released") bytes, sha256 $(sha256sum <"$released" | cut -d' ' -f1)"
        return 0
    fi
    {
        echo
        echo "======================================================================"
        echo "check-reproducible: FAILED - the installer differs between two packings of one orlivex.scr"
        echo "  differing bytes: $(cmp -l "$first_msi" "$released" | wc -l) of $(stat -c %s "$released"), the first (offset, octal values):"
        cmp -l "$first_msi" "$released" | head -n 10 | sed 's/^/    /' || true
        echo "  summary differences (msiinfo suminfo):"
        diff <(msiinfo suminfo "$first_msi") <(msiinfo suminfo "$released") | sed 's/^/    /' || true
        echo "======================================================================"
    } >&2
    return 1
}

if cmp -s "$first" "$second"; then
    echo "check-reproducible: orlivex.scr is the same, $(stat -c %s "$first") bytes, sha256 $(sha256sum <"$first" | cut -d' ' -f1)"
    (cd "$work/unpacked" && sha256sum --quiet -c SHA256SUMS)
    same_installer
    exit
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
