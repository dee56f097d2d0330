#!/usr/bin/env bash
# Runs the static analysers over the program's own sources: clang-tidy with the checks of
# .clang-tidy over every source the test build compiles, and clazy over those that use Qt. Any
# finding fails the run; one judged wrong is suppressed where it occurs (NOLINT, clazy:exclude=),
# with its reason. scripts/test.sh runs this as one of its stages.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages "${hexorin_run_packages[@]}" "${hexorin_test_packages[@]}"
cd "$hexorin_root"

# clazy's levels 0 and 1, and level 2 but for two checks: ctor-missing-parent-argument (the one
# QObject without a parent is the window's style, which the application owns) and
# qstring-allocations (the program builds with QT_NO_CAST_FROM_ASCII, which rules those out; the
# tests may spell their texts as they like).
clazy_checks="level0,level1,level2,no-ctor-missing-parent-argument,no-qstring-allocations"
# In the tests, GoogleTest's macros register each test in a static object and return from a void
# function with ASSERT_*'s void expression.
clazy_test_checks="$clazy_checks,no-non-pod-global-static,no-returning-void-expression"

# Configuring writes the compile commands; moc's output is compiled in its own file, which neither
# analyser reads, but a source that includes its own moc output needs it made first.
cmake --preset analyse >/dev/null || hexorin_fail "configuring the analyse preset failed."
database=build/analyse
mapfile -t moc_targets < <(cmake --build "$database" --target help | sed -n 's/^\([A-Za-z0-9_]*_autogen\):.*/\1/p')
[ ${#moc_targets[@]} -eq 0 ] || cmake --build "$database" --target "${moc_targets[@]}" >/dev/null ||
    hexorin_fail "running moc for the analysis failed."
own="$hexorin_root/(search|window|tests|bench|tools|main\.cpp)"

# The sources of the compile commands, each with whether it is built against Qt.
sources_with_qt() {
    awk -F '"' '$2 == "command" { qt = ($0 ~ /qt6/) } $2 == "file" { print qt, $4 }' \
        "$database/compile_commands.json" | grep -E "^[01] $own"
}

log="$(mktemp)"
trap 'rm -f "$log"' EXIT
# Runs a command into the log, then shows the log without the tools' tallies; the command's status.
quietly() { # command...
    local status=0
    "$@" >"$log" 2>&1 || status=$?
    grep -vE '^([0-9]+ (warnings?|errors?) (generated|treated as errors)|Suppressed [0-9]+ warnings|Use -header-filter|Error while processing|clang-tidy-[0-9]+ )' \
        "$log" || true
    return "$status"
}

echo "== clang-tidy"
tidy_status=0
quietly run-clang-tidy -quiet -j 2 -p "$database" "^$own" || tidy_status=1

echo "== clazy"
clazy() { # checks; reads the sources from its input
    xargs -P 2 -n 4 clazy-standalone -p "$database" -checks="$1" --extra-arg=-ferror-limit=0 \
        -header-filter="^$own" -ignore-dirs="$hexorin_root/build"
}
clazy_status=0
program_sources="$(sources_with_qt | awk '$1 == 1 && $2 !~ /\/tests\// { print $2 }')"
test_sources="$(sources_with_qt | awk '$1 == 1 && $2 ~ /\/tests\// { print $2 }')"
quietly clazy "$clazy_checks" <<<"$program_sources" || clazy_status=1
quietly clazy "$clazy_test_checks" <<<"$test_sources" || clazy_status=1

[ "$tidy_status" -eq 0 ] || hexorin_fail "clang-tidy has findings."
[ "$clazy_status" -eq 0 ] || hexorin_fail "clazy has findings."
echo "no findings"
