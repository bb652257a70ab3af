#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One command for the whole test suite: installs what is missing, builds the game and its web
# page, and runs every test headless, on a private X server (Xvfb) or in headless Chromium,
# with no sound hardware needed.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
tools/build.sh
tools/web.sh
cd build
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    ctest --output-on-failure --parallel "$(nproc)" "$@"
