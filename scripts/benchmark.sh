#!/usr/bin/env bash
# Builds the benchmarks for release and runs them: the search through the window object without a
# display, then the search in the real window under Xvfb, as shown and with a repaint after every
# pass. Arguments go to the window benchmark: "all" repaints every pass of the whole run instead of
# its first 50,000 passes (hours). "long [runs]" instead runs 300 (or so many) full searches one
# after another in one window and prints the resident memory after 20 and after the last.
# HEXORIN_BUILD_DIR picks the build directory (default: build/bench, the bench preset's).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages "${hexorin_run_packages[@]}" "${hexorin_test_packages[@]}"

hexorin_build_preset bench "${HEXORIN_BUILD_DIR:-}" \
    hexorin_search_benchmark hexorin_visible_benchmark hexorin_long_session_benchmark hexorin
build="${HEXORIN_BUILD_DIR:-$hexorin_root/build/bench}"

if [ "${1:-}" = long ]; then
    echo "== a long session of full runs in one window, under Xvfb"
    xvfb-run -a "$build/bench/hexorin_long_session_benchmark" "${@:2}"
    exit
fi

echo "== the search through the window object, no display"
"$build/bench/hexorin_search_benchmark"
echo "== the search in the real window, under Xvfb"
visible="$(xvfb-run -a "$build/bench/hexorin_visible_benchmark" "$@")"
echo "$visible" | head -n -2

# The same full search with the real Orca reading the program, against the fastest visible run
# above, which has no accessibility at all; and how long after the run's end Orca still spoke.
echo "== the search in the real program, with Orca running"
# A run under Orca varies by a few tenths of a second: the fastest of three, as for the visible run.
heard=""
for _ in 1 2 3; do
    heard+="$("$hexorin_root/tests/window/qt/orca_speech.sh" "$build/hexorin" --benchmark |
        sed -n 's/^heard //p')"$'\n' || hexorin_fail "the run under Orca failed or was skipped."
done
heard="$(sort -n <<<"$heard" | sed -n "/./{p;q}")"
plain="$(echo "$visible" | sed -n 's/^visible full run: \([0-9.]*\) s.*/\1/p')"
read -r seconds after utterances <<<"$heard"
awk -v s="$seconds" -v p="$plain" -v a="$after" -v n="$utterances" 'BEGIN {
    printf "screen-reader run / plain run: %.2f (Orca); Orca spoke last %+.2f s from the run\047s end; %d utterances\n", s / p, a, n }'
echo "$visible" | tail -n 2
