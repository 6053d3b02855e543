#!/usr/bin/env bash
# Builds everything that is out of date and runs every test.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
vorn_install_packages
vorn_build
cd "$VORN_BUILD"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --timeout 600 -j"$(nproc)"
