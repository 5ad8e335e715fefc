#!/usr/bin/env bash
# Builds everything and runs all tests under Wine on a private Xvfb screen.
# Installs what is missing first (Debian 12; run as root or with sudo rights).
#   tools/test.sh [build-dir]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"
"$root/tools/with-wine.sh" ctest --test-dir "$build" --output-on-failure
