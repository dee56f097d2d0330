#!/usr/bin/env bash
# Builds Hexorin with its tests and runs every test; widget tests use Qt's offscreen platform.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages

build="$hexorin_root/build/test"
cmake -S "$hexorin_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHEXORIN_WERROR=ON >/dev/null || hexorin_fail "configuring the build failed."
cmake --build "$build" || hexorin_fail "the build failed."
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" --output-on-failure -j2 ||
    hexorin_fail "tests failed."
