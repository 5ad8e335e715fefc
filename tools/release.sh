#!/usr/bin/env bash
# Builds orlivex.scr from the current commit in a fresh folder and packs the download:
#   dist/orlivex-<version>-win64.zip         orlivex.scr, README.txt, LICENSE.txt,
#                                            THIRD-PARTY-NOTICES.txt and SHA256SUMS
#   dist/orlivex-<version>-win64.zip.sha256  the zip's own checksum (sums inside cannot cover it)
#   dist/orlivex-<version>-win64.msi         the installer for every user (tools/make-msi.sh), with
#   dist/orlivex-<version>-win64.msi.sha256  its checksum
# The version (and the installer's "about" link, when the project names a home page) is the CMake
# project's. The same commit gives the same bytes in any folder at any time: the sources are the
# commit's (uncommitted changes are left out), and every date in the zip and the installer is the
# commit's, in UTC.
#   tools/release.sh [--dist DIR]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
dist=$root/dist
while [ $# -gt 0 ]; do
    case "$1" in
        --dist) dist=$2; shift 2 ;;
        *) echo "usage: tools/release.sh [--dist DIR]" >&2; exit 2 ;;
    esac
done

commit=$(git -C "$root" rev-parse HEAD)
if [ -n "$(git -C "$root" status --porcelain --untracked-files=no)" ]; then
    echo "release: uncommitted changes are not in the release; building commit $commit" >&2
fi
# The one date a build may need (compilers and tools that honour it take it from here).
SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH

work=$(mktemp -d -t orlivex-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src" "$work/pack"
git -C "$root" archive --format=tar "$commit" | tar -x -C "$work/src"

cmake -S "$work/src" -B "$work/build" -DORLIVEX_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$work/src/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$work/build" --target orlivex -j2 >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$work/build/CMakeCache.txt")
[ -n "$version" ] || { echo "release: no project version in CMakeCache.txt" >&2; exit 1; }
url=$(sed -n 's/^CMAKE_PROJECT_HOMEPAGE_URL:STATIC=//p' "$work/build/CMakeCache.txt")

# The README and the change log name the version the release carries.
for name in "orlivex-$version-win64.zip" "orlivex-$version-win64.msi"; do
    grep -q "$name" "$work/src/README.md" || { echo "release: README.md does not name $name" >&2; exit 1; }
done
grep -q "^## ${version//./\\.}\b" "$work/src/CHANGELOG.md" ||
    { echo "release: CHANGELOG.md has no section for $version" >&2; exit 1; }

# Windows line endings for the text files; the sums cover the files exactly as packed.
crlf() { sed -e 's/\r$//' -e 's/$/\r/' "$@"; }
files=(orlivex.scr README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)
cp "$work/build/orlivex.scr" "$work/pack/orlivex.scr"
sed "s/@VERSION@/$version/g" "$work/src/resources/README.txt" | crlf >"$work/pack/README.txt"
crlf "$work/src/LICENSE" >"$work/pack/LICENSE.txt"
crlf "$work/src/THIRD-PARTY-NOTICES.txt" >"$work/pack/THIRD-PARTY-NOTICES.txt"
(cd "$work/pack" && sha256sum "${files[@]}" >SHA256SUMS)
files+=(SHA256SUMS)

# Fixed order, permissions and times (the commit's, as UTC, since zip stores local times), and no
# extra fields with owners or further time stamps.
chmod 0644 "${files[@]/#/$work/pack/}"
touch -d "@$SOURCE_DATE_EPOCH" "${files[@]/#/$work/pack/}"
name=orlivex-$version-win64.zip
(cd "$work/pack" && TZ=UTC zip -X -D -q -9 "$work/$name" "${files[@]}")

# The installer holds the same orlivex.scr as the zip.
msi=orlivex-$version-win64.msi
"$work/src/tools/make-msi.sh" --version "$version" --url "$url" "$work/pack/orlivex.scr" "$work/$msi"

mkdir -p "$dist"
for file in "$name" "$msi"; do
    rm -f "$dist/$file" "$dist/$file.sha256"
    cp "$work/$file" "$dist/$file"
    (cd "$dist" && sha256sum "$file" >"$file.sha256")
    echo "$dist/$file"
    cat "$dist/$file.sha256"
done
