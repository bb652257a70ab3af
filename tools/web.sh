#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The browser build: the same sources, compiled with Debian's Emscripten into a static page.
#   tools/web.sh          installs what is missing, builds build-web/ (index.html, tobrin.js,
#                         tobrin.wasm, tobrin.data), which any static web host serves as it is
#   tools/web.sh serve    builds, then serves it on http://127.0.0.1:8080/ (PORT=... for another)
# The build tree itself lives in build-emscripten/. Under CI (CI=true) warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install_deps.sh --web
# Debian's Emscripten finds its JavaScript modules through Node's own search path.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
werror=OFF
if [ "${CI:-}" = "true" ]; then
    werror=ON
fi
# emcmake names the command it runs on standard error; only real complaints are passed on.
emcmake cmake -S . -B build-emscripten -DCMAKE_BUILD_TYPE=Release -DTOBRIN_WERROR="$werror" \
    -DBUILD_TESTING=OFF -DTOBRIN_BENCHMARKS=OFF -DTOBRIN_WEB_PAGE_DIR="$PWD/build-web" \
    2> >(grep -v '^configure: ' >&2) > /dev/null
cmake --build build-emscripten --parallel "$(nproc)"
case "${1:-}" in
    "") ;;
    serve)
        echo "Serving build-web/ on http://127.0.0.1:${PORT:-8080}/ (Ctrl+C ends it)"
        exec python3 -m http.server --bind 127.0.0.1 --directory build-web "${PORT:-8080}" ;;
    *) echo "usage: $0 [serve]" >&2; exit 2 ;;
esac
