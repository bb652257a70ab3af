#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fuzzes the settings parser for a while (seconds, 60 by default) with clang's libFuzzer,
# starting from real settings lines. CI runs it briefly; run it longer by hand.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake -S . -B build-fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DTOBRIN_FUZZ=ON -DBUILD_TESTING=OFF -DTOBRIN_BENCHMARKS=OFF \
    -DTOBRIN_SANITIZE=address,undefined > /dev/null
cmake --build build-fuzz --target settings_fuzzer --parallel "$(nproc)" > /dev/null
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/fuzz/settings_corpus/* "$corpus/"
ASAN_OPTIONS=detect_leaks=0 build-fuzz/settings_fuzzer -max_total_time="$seconds" \
    -max_len=4096 -timeout=5 -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
echo "settings fuzzing: 1 passed, 0 failed (${seconds}s, no crash, hang or bad rewrite)"
