#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Hexorin need. Idempotent: it asks
# apt only for what is missing. Sourced by run.sh and test.sh.
set -euo pipefail

hexorin_packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n qt6-svg-dev
    libgl-dev fonts-liberation2
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth clang libclang-rt-dev
    dbus-daemon at-spi2-core libglib2.0-bin
    dpkg-dev file desktop-file-utils appstream
)

hexorin_fail() {
    echo "hexorin: $*" >&2
    exit 1
}

hexorin_missing_packages() {
    local package
    for package in "${hexorin_packages[@]}"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            echo "$package"
    done
}

hexorin_install_packages() {
    local missing
    mapfile -t missing < <(hexorin_missing_packages)
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
        "${missing[@]}" >/dev/null ||
        hexorin_fail "apt-get install failed for: ${missing[*]}"
}

hexorin_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Configures a Release build without tests in the given directory and builds the given targets.
hexorin_build_release() { # directory, cmake options..., -- targets...
    local build="$1" options=() targets=()
    shift
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do options+=("$1"); shift; done
    [ $# -gt 0 ] && shift
    targets=("$@")
    cmake -S "$hexorin_root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
        "${options[@]}" >/dev/null || hexorin_fail "configuring $build failed."
    cmake --build "$build" --target "${targets[@]}" || hexorin_fail "building $build failed."
}
