#!/usr/bin/env bash
# Builds the screenshot tool and renders the window without a display into docs/hexorin.png (the
# start state) and docs/hexorin-solution.png (after the first solution).
# HEXORIN_BUILD_DIR picks the build directory (default: build/screenshot).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages

build="${HEXORIN_BUILD_DIR:-$hexorin_root/build/screenshot}"
cmake -S "$hexorin_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DHEXORIN_BENCHMARKS=OFF >/dev/null || hexorin_fail "configuring the build failed."
cmake --build "$build" --target hexorin_screenshot || hexorin_fail "the build failed."

mkdir -p "$hexorin_root/docs"
export QT_QPA_PLATFORM=offscreen
"$build/hexorin_screenshot" "$hexorin_root/docs/hexorin.png"
"$build/hexorin_screenshot" "$hexorin_root/docs/hexorin-solution.png" --solution
echo "hexorin: wrote docs/hexorin.png and docs/hexorin-solution.png"
