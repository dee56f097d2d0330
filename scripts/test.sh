#!/usr/bin/env bash
# Builds Hexorin with its tests and runs every test: once as built for use, then clang-tidy and
# clazy over the sources (scripts/analyse.sh), then a short bounded fuzz run of the text parses,
# then the whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer. Each stage is a
# preset of CMakePresets.json (test, analyse, fuzz, sanitize), so `ctest --preset test` repeats the
# first one by hand.
# Widget tests use Qt's offscreen platform, so no display is needed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages "${hexorin_run_packages[@]}" "${hexorin_test_packages[@]}"
cd "$hexorin_root"

fuzz_seconds="${HEXORIN_FUZZ_SECONDS:-30}"

# The tree holds sources, data and small pictures: a build output or a core dump committed by
# mistake fails the run before anything is built.
check_tracked_files() {
    git rev-parse --git-dir >/dev/null 2>&1 || return 0 # a copy without git tracks nothing
    local large binary
    large="$(git ls-files -s | sed -E 's/^[0-7]+ ([0-9a-f]+) [0-3]\t/\1 /' |
        git cat-file --batch-check='%(objectsize) %(rest)' |
        awk '$1 > 1048576 { sub(/^[0-9]+ /, ""); print }')"
    # Against the empty tree git counts no lines in a binary file: "-" for both counts.
    binary="$(git diff --cached --numstat "$(git hash-object -t tree /dev/null)" |
        awk -F '\t' '$1 == "-" && $3 !~ /\.(png|jpe?g)$/ { print $3 }')"
    [ -z "$large" ] || hexorin_fail "tracked files over 1 MB: ${large//$'\n'/, }"
    [ -z "$binary" ] || hexorin_fail "tracked binaries that are no pictures: ${binary//$'\n'/, }"
}
check_tracked_files

run_tests() { # preset, description
    echo "== $2"
    ctest --preset "$1" || hexorin_fail "$2 failed."
}

hexorin_build_preset test ""
run_tests test "tests"

"$hexorin_root/scripts/analyse.sh" || exit 1

echo "== fuzzing the text parses and the line check for $fuzz_seconds s"
hexorin_build_preset fuzz "" hexorin_text_fuzz
new_inputs="$(mktemp -d)"
trap 'rm -rf "$new_inputs"' EXIT
build/fuzz/fuzz/hexorin_text_fuzz -max_total_time="$fuzz_seconds" -print_final_stats=1 \
    "$new_inputs" fuzz/corpus 2>&1 | tail -n 12 || hexorin_fail "the fuzz run found a fault."

hexorin_build_preset sanitize ""
run_tests sanitize "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
