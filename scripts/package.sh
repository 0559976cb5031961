#!/usr/bin/env bash
# Builds Vorlane's Debian package: a release build with Debian's own hardening flags
# (dpkg-buildflags) in build/package, packed by CPack. Prints the path of the .deb.
# Install it with: sudo apt-get install ./build/package/package/vorlane_*.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/install-deps.sh
build=build/package
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
          -DVORLANE_BENCH=OFF "${launcher[@]}" \
          ${VORLANE_BUILD_NUMBER:+-DVORLANE_BUILD_NUMBER="$VORLANE_BUILD_NUMBER"} >/dev/null
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB >/dev/null)
ls "$top/$build"/package/vorlane_*.deb
