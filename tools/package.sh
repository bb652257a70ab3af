#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as a packager would, into build-deb/: the game alone, with the
# hardened flags dpkg-buildflags gives (all of them: stack protector, fortified functions,
# read-only relocations bound at start). Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF -DTOBRIN_BENCHMARKS=OFF \
    -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-deb --parallel "$(nproc)" > /dev/null
(cd build-deb && cpack -G DEB > cpack.log 2>&1) || { cat build-deb/cpack.log >&2; exit 1; }
ls build-deb/tobrin_*.deb
