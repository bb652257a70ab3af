#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/: the game, its tests and benchmarks; with --play the
# game alone, which needs none of the test packages. Under CI (CI=true) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

werror=OFF
if [ "${CI:-}" = "true" ]; then
    werror=ON
fi
# The switches are given every time: build/ is shared, and a game-only configuration left
# there by tools/play.sh must not leave the tests out of the next full build.
if [ "${1:-}" = "--play" ]; then
    cmake -S . -B build -DTOBRIN_WERROR="$werror" -DBUILD_TESTING=OFF \
        -DTOBRIN_BENCHMARKS=OFF > /dev/null
    cmake --build build --target tobrin --parallel "$(nproc)"
else
    cmake -S . -B build -DTOBRIN_WERROR="$werror" -DBUILD_TESTING=ON \
        -DTOBRIN_BENCHMARKS=ON > /dev/null
    cmake --build build --parallel "$(nproc)"
fi
