#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Hexorin need. Idempotent: it asks
# apt only for what is missing. Sourced by the other scripts, which also build through
# hexorin_build_preset below.
set -euo pipefail

# Building the program and opening its window: run.sh and screenshot.sh need no more.
hexorin_run_packages=(
    cmake ninja-build g++
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n
    libgl-dev libxcb1-dev fonts-liberation2
)
# What the tests, the fuzzer, the analysers, the package check and the benchmarks add.
hexorin_test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth dbus-x11 clang libclang-rt-dev clang-tidy clazy
    dpkg-dev file desktop-file-utils appstream
    dbus-daemon at-spi2-core python3-pyatspi xdotool
    orca speech-dispatcher espeak-ng openbox procps
    lintian qt6-gtk-platformtheme
)

hexorin_fail() {
    echo "hexorin: $*" >&2
    exit 1
}

hexorin_missing_packages() { # packages...
    local package
    for package in "$@"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            echo "$package"
    done
}

hexorin_install_packages() { # packages...
    local missing
    mapfile -t missing < <(hexorin_missing_packages "$@")
    [ ${#missing[@]} -eq 0 ] && return 0
    command -v apt-get >/dev/null ||
        hexorin_fail "missing packages (${missing[*]}) and no apt-get: this set-up needs Debian 12."
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null ||
            hexorin_fail "missing packages (${missing[*]}): run as root or install sudo."
        sudo=(sudo)
    fi
    echo "hexorin: installing ${missing[*]}"
    "${sudo[@]}" apt-get update -qq ||
        hexorin_fail "apt-get update failed: check the network and the apt sources."
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        -o DPkg::Lock::Timeout=900 \
        "${missing[@]}" >/dev/null ||
        hexorin_fail "apt-get install failed for: ${missing[*]}"
}

hexorin_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Configures a preset of CMakePresets.json and builds it: in the preset's own build directory or the
# one given, the given targets or else the preset's.
hexorin_build_preset() { # preset, build directory or "", targets...
    local preset="$1" build="$2"
    shift 2
    local configure=(--preset "$preset") build_command=(--build --preset "$preset")
    if [ -n "$build" ]; then
        configure+=(-B "$build")
        build_command=(--build "$build")
    fi
    [ $# -gt 0 ] && build_command+=(--target "$@")
    (cd "$hexorin_root" && cmake "${configure[@]}" >/dev/null) ||
        hexorin_fail "configuring the $preset preset failed."
    (cd "$hexorin_root" && cmake "${build_command[@]}") ||
        hexorin_fail "building the $preset preset failed."
}
