#!/usr/bin/env bash
# Packs an orlivex.scr into the installer for every user, from resources/orlivex.wxs, with wixl and
# msibuild (Debian packages wixl and msitools). The release and the test build both use it.
#   tools/make-msi.sh --version X.Y.Z [--url URL] SAVER OUTPUT
# The codes are derived, never drawn: the product code from the version, the package code from the
# version and the saver's SHA-256, both as name-based (version 5) UUIDs in the upgrade code's
# namespace. The same inputs give the same bytes at any time and in any folder: every date in the
# package is SOURCE_DATE_EPOCH (the current time when it is unset). Without --url the package has
# no "about" link.
set -euo pipefail

version=""
url=""
while [ $# -gt 0 ]; do
    case "$1" in
        --version) version=$2; shift 2 ;;
        --url) url=$2; shift 2 ;;
        -*) echo "make-msi: unknown option $1" >&2; exit 2 ;;
        *) break ;;
    esac
done
if [ $# -ne 2 ] || ! [[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]]; then
    echo "usage: tools/make-msi.sh --version X.Y.Z [--url URL] SAVER OUTPUT" >&2
    exit 2
fi
saver=$1
output=$2
[ -f "$saver" ] || { echo "make-msi: no $saver" >&2; exit 1; }
# A quote would end the attribute it is put into.
case "$url" in *'"'* | *'<'* | *'&'*) echo "make-msi: the URL may not hold \", < or &" >&2; exit 2 ;; esac

resources=$(cd "$(dirname "$0")/../resources" && pwd)
epoch=${SOURCE_DATE_EPOCH:-$(date +%s)}
upgrade=$(sed -n 's/.*UpgradeCode="\([0-9A-F-]\{36\}\)".*/\1/p' "$resources/orlivex.wxs")
[ -n "$upgrade" ] || { echo "make-msi: no UpgradeCode in orlivex.wxs" >&2; exit 1; }

# The name-based UUID (RFC 4122, version 5, SHA-1) of name in the namespace, in capitals.
uuid5() {
    local namespace=${1//-/} hex
    hex=$({ printf "$(sed 's/../\\x&/g' <<<"$namespace")"; printf '%s' "$2"; } | sha1sum | cut -c1-32)
    hex=${hex:0:12}5${hex:13:3}$(printf %x $(((0x${hex:16:1} & 0x3) | 0x8)))${hex:17}
    echo "${hex:0:8}-${hex:8:4}-${hex:12:4}-${hex:16:4}-${hex:20:12}" | tr a-f A-F
}
product=$(uuid5 "$upgrade" "$version")
package=$(uuid5 "$upgrade" "$version $(sha256sum <"$saver" | cut -d' ' -f1)")

work=$(mktemp -d -t orlivex-msi.XXXXXX)
trap 'rm -rf "$work"' EXIT
# wixl takes sources by relative name only; copies keep the caller's files and their times as they
# are, since the cabinet stores the saver's modification time.
cp "$saver" "$work/orlivex.scr"
cp "$resources/orlivex.ico" "$resources/orlivex.wxs" "$work/"
touch -d "@$epoch" "$work/orlivex.scr" "$work/orlivex.ico"

# wixl dates the package by the clock: a clock stopped at the epoch. Inside another faketime (the
# reproducibility check runs the whole release three days ahead) a nested one would add its offset,
# so this one starts without it.
at() { env -u LD_PRELOAD -u FAKETIME -u FAKETIME_SHARED TZ=UTC faketime -f "$(TZ=UTC date -d "@$epoch" '+%Y-%m-%d %H:%M:%S')" "$@"; }
(cd "$work" && at wixl -a x64 -D Version="$version" -D ProductCode="$product" -D Url="$url" \
    -D Saver=orlivex.scr -D Icon=orlivex.ico -o orlivex.msi orlivex.wxs)
# wixl draws a package code of its own, whatever the source says: set the derived one afterwards.
(cd "$work" && at msibuild orlivex.msi -s "Orlivex Screen Saver" Kuroko 'x64;1033' "{$package}")
mv "$work/orlivex.msi" "$output"
