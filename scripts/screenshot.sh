#!/usr/bin/env bash
# Builds the screenshot tool and renders the window without a display into docs/hexorin.png (the
# start state), docs/hexorin-solution.png (after the first solution) and docs/hexorin-scales.png
# (after the first solution at 100 %, 150 % and 200 % scaling and with a larger default font, side
# by side). HEXORIN_BUILD_DIR picks the build directory (default: build/release, the release
# preset's).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages "${hexorin_run_packages[@]}"

hexorin_build_preset release "${HEXORIN_BUILD_DIR:-}" hexorin_screenshot
build="${HEXORIN_BUILD_DIR:-$hexorin_root/build/release}"

docs="$hexorin_root/docs"
tool="$build/hexorin_screenshot"
mkdir -p "$docs"
export QT_QPA_PLATFORM=offscreen
"$tool" "$docs/hexorin.png"
"$tool" "$docs/hexorin-solution.png" --solution

scales="$(mktemp -d)"
trap 'rm -rf "$scales"' EXIT
panels=()
for scale in 1 1.5 2; do
    QT_SCALE_FACTOR="$scale" "$tool" "$scales/$scale.png" --solution
    panels+=("$(awk -v s="$scale" 'BEGIN { print s * 100 " %" }')" "$scales/$scale.png")
done
"$tool" "$scales/font.png" --solution --font 14
panels+=("100 %, 14 pt default font" "$scales/font.png")
"$tool" --side-by-side "$docs/hexorin-scales.png" "${panels[@]}"
echo "hexorin: wrote docs/hexorin.png, docs/hexorin-solution.png and docs/hexorin-scales.png"
