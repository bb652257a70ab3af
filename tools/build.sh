#!/usr/bin/env bash
# Configures and builds the game, its tests and benchmarks into build/.
# Under CI (CI=true) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

werror=OFF
if [ "${CI:-}" = "true" ]; then
    werror=ON
fi
cmake -S . -B build -DTOBRIN_WERROR="$werror" > /dev/null
cmake --build build --parallel "$(nproc)"
