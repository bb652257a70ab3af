#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build's figures (bench/web_figures.js) on headless Chromium with SwiftShader:
# builds the page, installs what the driver needs, and measures.
# Usage: bench/web_figures.sh
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
tools/web.sh > /dev/null
echo "Page files, as sent gzipped:"
for file in build-web/*; do
    printf '  %-12s %9d bytes, %9d gzipped\n' "$(basename "$file")" "$(stat -c %s "$file")" \
        "$(gzip -9c "$file" | wc -c)"
done
NODE_PATH="$PWD/tests/web/node_modules" exec node bench/web_figures.js build-web
