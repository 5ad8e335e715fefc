#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, if any is missing, and generates the
# Japanese and English locales the tests and screenshots run the saver under. Wine 10 comes in a
# Debian 13 root of its own (tools/make-wine10-root.sh): debootstrap makes it, bubblewrap runs it.
set -euo pipefail

packages=(
    cmake make
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    googletest
    wine wine64 fonts-wine
    xvfb xserver-xephyr xdotool x11-utils imagemagick
    fonts-noto-cjk locales
    zip unzip faketime wixl msitools
    debootstrap bubblewrap
)

# Wine shows a program's texts in the user-interface language of its locale, and only of a locale
# that exists here: the tests and screenshots run the saver in both of its languages.
locales=(ja_JP en_US)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

for l in "${locales[@]}"; do
    if ! locale -a 2>/dev/null | grep -qx "$l.utf8"; then
        echo "Generating the locale $l.UTF-8"
        $sudo localedef -i "$l" -f UTF-8 "$l.UTF-8"
    fi
done
