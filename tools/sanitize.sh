#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the game and its tests with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ and runs the whole suite there on a private X server. Leaks are checked in the
# tests without a window; in those with one, Mesa's software renderer is unloaded before the
# leak check and leaves leaks that can no longer be named, so only memory errors count there.
# Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh
cmake -S . -B build-asan -DTOBRIN_SANITIZE=address,undefined -DTOBRIN_BENCHMARKS=OFF \
    -DTOBRIN_WERROR=ON > /dev/null
cmake --build build-asan --parallel "$(nproc)" > /dev/null
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer_suppressions.txt
cd build-asan
# Leaks are checked in every test that opens no window: Mesa's software renderer is unloaded
# before the leak check, and what it leaves cannot be named any more.
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    ctest --output-on-failure --parallel "$(nproc)" -L unit -E AudioFiles "$@"
ASAN_OPTIONS=detect_leaks=0 xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" \
    ctest --output-on-failure --parallel "$(nproc)" -L "window|process" "$@"
