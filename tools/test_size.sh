#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prints the lines of the test suite against the lines of the code it tests (engine/,
# platform/ and game/, the page's own script and markup included), blank and comment lines
# aside, and their ratio; every test file counts, whatever its language, but the browser tests'
# installed driver (node_modules) is not ours and is left out. The aim: tests at most 35% of
# the product code. It only tells; it fails nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
    find "$@" -name node_modules -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \
        -o -name '*.sh' -o -name '*.py' -o -name '*.js' -o -name '*.mjs' -o -name '*.html' \) \
        -print0 |
        xargs -0 cat | grep -v '^[[:space:]]*$' | grep -cvE '^[[:space:]]*(//|#[^!a-z]|\*|/\*)'
}
product=$(count engine platform game)
tests=$(count tests)
echo "test size: $tests lines of tests/ against $product lines of engine/, platform/ and game/" \
    "($((tests * 100 / product))%; the aim is at most 35%)"
