#!/usr/bin/env bash
# Runs the static analysers over the program's own sources: clang-tidy with the checks of
# .clang-tidy over every source the test build compiles, and clazy over those that use Qt. Any
# finding fails the run; one judged wrong is suppressed where it occurs (NOLINT, clazy:exclude=),
# with its reason. scripts/test.sh runs this as one of its stages.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages "${hexorin_run_packages[@]}" "${hexorin_test_packages[@]}"
cd "$hexorin_root"

# clazy's levels 0 and 1, and of level 2 what fits a program this size: the others ask for
# Q_GADGETs, Q_ENUMs and QStringLiteral where nothing needs them.
clazy_checks="level0,level1,base-class-event,copyable-polymorphic,ctor-missing-parent-argument,\
function-args-by-ref,function-args-by-value,global-const-char-pointer,missing-typeinfo,\
old-style-connect,qstring-varargs,returning-void-expression,static-pmf,virtual-call-ctor"

# Configuring alone writes the compile commands; moc's output is compiled in its own file, which
# neither analyser reads.
cmake --preset analyse >/dev/null || hexorin_fail "configuring the analyse preset failed."
database=build/analyse
own="^$hexorin_root/(search|window|tests|bench|tools|main\.cpp)"

# The sources of the compile commands, each with whether it is built against Qt.
sources_with_qt() {
    awk -F '"' '$2 == "command" { qt = ($4 ~ /qt6/) } $2 == "file" { print qt, $4 }' \
        "$database/compile_commands.json" | grep -E " $own"
}

echo "== clang-tidy"
run-clang-tidy -quiet -j 2 -p "$database" "$own" 2>&1 |
    grep -vE '^([0-9]+ warnings? (generated|treated as errors)|Suppressed [0-9]+ warnings|Use -header-filter|clang-tidy-[0-9]+ -p=)' ||
    true
tidy_status="${PIPESTATUS[0]}"

echo "== clazy"
clazy_status=0
sources_with_qt | awk '$1 == 1 { print $2 }' |
    xargs -P 2 -n 4 clazy-standalone -p "$database" -checks="$clazy_checks" \
        -header-filter="$own" -ignore-dirs="$hexorin_root/build" 2>&1 |
    grep -vE '^[0-9]+ (warnings?|errors?) generated|^Error while processing' || true
clazy_status="${PIPESTATUS[1]}"

[ "$tidy_status" -eq 0 ] || hexorin_fail "clang-tidy has findings."
[ "$clazy_status" -eq 0 ] || hexorin_fail "clazy has findings."
echo "no findings"
