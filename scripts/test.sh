#!/usr/bin/env bash
# Builds Hexorin with its tests and runs every test: once as built for use, then a short bounded
# fuzz run of the text parses, then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer. Each stage is a preset of CMakePresets.json (test, fuzz, sanitize),
# so `ctest --preset test` repeats the first one by hand.
# Widget tests use Qt's offscreen platform, so no display is needed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages
cd "$hexorin_root"

fuzz_seconds="${HEXORIN_FUZZ_SECONDS:-30}"

run_tests() { # preset, description
    echo "== $2"
    ctest --preset "$1" || hexorin_fail "$2 failed."
}

hexorin_build_preset test ""
run_tests test "tests"

echo "== fuzzing the text parses and the line check for $fuzz_seconds s"
hexorin_build_preset fuzz "" hexorin_text_fuzz
new_inputs="$(mktemp -d)"
trap 'rm -rf "$new_inputs"' EXIT
build/fuzz/fuzz/hexorin_text_fuzz -max_total_time="$fuzz_seconds" -print_final_stats=1 \
    "$new_inputs" fuzz/corpus 2>&1 | tail -n 12 || hexorin_fail "the fuzz run found a fault."

hexorin_build_preset sanitize ""
run_tests sanitize "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
