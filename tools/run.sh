#!/usr/bin/env bash
# Builds orlivex.scr and runs it under Wine (installs what is missing first; Debian 12, root or sudo).
#   tools/run.sh [screenshot-folder]
# With a display ($DISPLAY set): runs the saver on it in your own Wine prefix; it ends, as a screen
# saver does, on a key press or a mouse move.
# Without one: on a private Xvfb screen over a drawn desktop, saves to the folder (default
# build/screenshots) the configuration dialog with its live preview in English and in Japanese, an
# animation of the saver taking over the desktop and a screenshot of the saver (tools/screenshots.sh),
# and ends each with a key press. `tools/run.sh docs` makes the pictures of the README.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" --target orlivex

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec wine "$build/orlivex.scr" /s
fi

shots=$(realpath -m "${1:-$build/screenshots}")
mkdir -p "$shots"
"$root/tools/with-wine.sh" "$root/tools/screenshots.sh" "$build/orlivex.scr" "$shots"
echo "Screenshots in $shots"
