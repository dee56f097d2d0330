#!/usr/bin/env bash
# Builds Hexorin and opens its window.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
hexorin_install_packages "${hexorin_run_packages[@]}"

hexorin_build_preset release "" hexorin

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    hexorin_fail "no display found (DISPLAY and WAYLAND_DISPLAY are empty): start it on a desktop, or under xvfb-run."
fi
exec "$hexorin_root/build/release/hexorin"
