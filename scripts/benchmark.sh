#!/usr/bin/env bash
# Builds the benchmarks for release and runs them: the search through the window object without a
# display, then the search in the real window under Xvfb, as shown and with a repaint after every
# pass. Arguments go to the window benchmark: "all" repaints every pass of the whole run instead of
# its first 50,000 passes (hours). HEXORIN_BUILD_DIR picks the build directory (default:
# build/bench, the bench preset's).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages "${hexorin_run_packages[@]}" "${hexorin_test_packages[@]}"

hexorin_build_preset bench "${HEXORIN_BUILD_DIR:-}" \
    hexorin_search_benchmark hexorin_visible_benchmark
build="${HEXORIN_BUILD_DIR:-$hexorin_root/build/bench}"

echo "== the search through the window object, no display"
"$build/bench/hexorin_search_benchmark"
echo "== the search in the real window, under Xvfb"
xvfb-run -a "$build/bench/hexorin_visible_benchmark" "$@"
