#!/usr/bin/env bash
# Builds everything and runs all tests under Wine 8 and then Wine 10, each on a private X screen with
# a Wine prefix of its own; fails when either run fails. Installs what is missing first (Debian 12;
# run as root or with sudo rights) and makes the Debian 13 root of Wine 10 (tools/make-wine10-root.sh)
# when it is missing.
#   tools/test.sh [build-dir]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}

"$root/tools/install-deps.sh"
# The root of Wine 10 is mostly downloads and unpacking: made while the build keeps the cores busy.
"$root/tools/make-wine10-root.sh" >/dev/null &
maker=$!
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)"
build=$(cd "$build" && pwd)
wait "$maker" || { echo "=== The Debian 13 root of Wine 10 could not be made"; exit 1; }

failed=()
for wine in 8 10; do
    echo "=== The test suite under Wine $wine"
    start=$(date +%s)
    if ORLIVEX_WINE10_BINDS=$build "$root/tools/with-wine.sh" --wine "$wine" \
            ctest --test-dir "$build" --output-on-failure; then
        echo "=== Wine $wine: passed in $(( $(date +%s) - start )) s"
    else
        echo "=== Wine $wine: FAILED in $(( $(date +%s) - start )) s"
        failed+=("$wine")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "=== Failed under Wine ${failed[*]}"
    exit 1
fi
echo "=== Passed under Wine 8 and Wine 10"
