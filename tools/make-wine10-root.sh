#!/usr/bin/env bash
# Makes (or keeps) the Debian 13 root that tools/with-wine.sh --wine 10 runs Wine 10 in.
#   tools/make-wine10-root.sh            prints the root's path; remakes it when missing or broken
#   ORLIVEX_WINE10_ROOT=/path            another place for the root (default /var/lib/orlivex/trixie)
#   ORLIVEX_DEBIAN_MIRROR=URL            another Debian mirror
# The stamp file is written last, so an interrupted run leaves a root that is made again. Needs root
# rights (debootstrap), which tools/install-deps.sh also needs.
set -euo pipefail

root=${ORLIVEX_WINE10_ROOT:-/var/lib/orlivex/trixie}
mirror=${ORLIVEX_DEBIAN_MIRROR:-http://deb.debian.org/debian}
# Bump when the package list or the set-up below changes, so kept roots are made again.
version=2
stamp=$root/.orlivex-root

# Only what the test suite runs inside the root: Wine and its fonts, the X servers and tools the
# end-to-end tests drive, the locales of the saver's two languages, and ctest.
packages=(
    wine wine64 fonts-wine
    xvfb xserver-xephyr xdotool x11-utils imagemagick
    fonts-noto-cjk locales
    cmake
)

healthy() {
    [ "$(cat "$stamp" 2>/dev/null)" = "$version" ] &&
        [ -x "$root/usr/bin/Xvfb" ] && [ -x "$root/usr/bin/ctest" ] && [ -x "$root/usr/lib/wine/wine64" ] &&
        bwrap --bind "$root" / --proc /proc --dev /dev /usr/lib/wine/wine64 --version 2>/dev/null | grep -q '^wine-10'
}

if healthy; then
    echo "$root"
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# One maker at a time: a second caller waits for the first and then finds the root made.
$sudo mkdir -p "$(dirname "$root")"
exec 9>>"$root.lock"
flock 9
if healthy; then
    echo "$root"
    exit 0
fi
start=$(date +%s)
echo "make-wine10-root: making the Debian 13 root in $root" >&2
$sudo rm -rf "$root"
# debootstrap makes the smallest root (minbase); apt then brings the rest with its pipelined
# downloads, no recommends, and dpkg without a sync per file: together less than half the time of
# debootstrap --include, which fetches and unpacks one package after another.
if ! $sudo debootstrap --variant=minbase --components=main trixie "$root" "$mirror" >"$root.log" 2>&1; then
    echo "make-wine10-root: debootstrap failed; the last lines of $root.log:" >&2
    tail -n 30 "$root.log" >&2
    exit 1
fi
inside() {
    $sudo bwrap --bind "$root" / --proc /proc --dev /dev --ro-bind /etc/resolv.conf /etc/resolv.conf \
        env DEBIAN_FRONTEND=noninteractive "$@" >>"$root.log" 2>&1
}
if ! inside apt-get -q update ||
        ! inside apt-get -q -y -o APT::Install-Recommends=false -o Dpkg::Options::=--force-unsafe-io \
            install "${packages[@]}"; then
    echo "make-wine10-root: installing the packages failed; the last lines of $root.log:" >&2
    tail -n 30 "$root.log" >&2
    exit 1
fi
for l in en_US ja_JP; do
    $sudo chroot "$root" localedef -i "$l" -f UTF-8 "$l.UTF-8"
done
$sudo rm -rf "$root"/var/cache/apt/archives/*.deb "$root"/var/lib/apt/lists/*
echo "$version" | $sudo tee "$stamp" >/dev/null
if ! healthy; then
    echo "make-wine10-root: the new root fails its sanity check" >&2
    exit 1
fi
echo "make-wine10-root: made in $(( $(date +%s) - start )) s" >&2
echo "$root"
