#!/usr/bin/env bash
# Builds Hexorin with its tests and runs every test: once as built for use, then a short bounded
# fuzz run of the text parses, then the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
# Widget tests use Qt's offscreen platform, so no display is needed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages

fuzz_seconds="${HEXORIN_FUZZ_SECONDS:-30}"

configure_and_build() { # directory, target, cmake options...
    local build="$1" target="$2"
    shift 2
    cmake -S "$hexorin_root" -B "$build" -G Ninja -DHEXORIN_WERROR=ON "$@" >/dev/null ||
        hexorin_fail "configuring $build failed."
    cmake --build "$build" --target "$target" || hexorin_fail "building $build failed."
}

run_tests() { # directory, description
    echo "== $2"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$1" --output-on-failure -j2 ||
        hexorin_fail "$2 failed."
}

configure_and_build "$hexorin_root/build/test" all -DCMAKE_BUILD_TYPE=RelWithDebInfo
run_tests "$hexorin_root/build/test" "tests"

echo "== fuzzing the text parses and the line check for $fuzz_seconds s"
CXX=clang++ configure_and_build "$hexorin_root/build/fuzz" hexorin_text_fuzz \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHEXORIN_FUZZ=ON -DBUILD_TESTING=OFF -DHEXORIN_BENCHMARKS=OFF
new_inputs="$(mktemp -d)"
trap 'rm -rf "$new_inputs"' EXIT
"$hexorin_root/build/fuzz/fuzz/hexorin_text_fuzz" -max_total_time="$fuzz_seconds" \
    -print_final_stats=1 "$new_inputs" "$hexorin_root/fuzz/corpus" 2>&1 | tail -n 12 ||
    hexorin_fail "the fuzz run found a fault."

configure_and_build "$hexorin_root/build/sanitize" all -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DHEXORIN_SANITIZE=ON -DHEXORIN_BENCHMARKS=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS="suppressions=$hexorin_root/tests/leak_suppressions.txt:print_suppressions=0" \
    UBSAN_OPTIONS=print_stacktrace=1 \
    run_tests "$hexorin_root/build/sanitize" "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
