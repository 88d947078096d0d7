#!/usr/bin/env bash
# Builds the game's Debian package with Debian's own compiler and linker flags, into
# build-deb/package/, and prints its path. Install it on Debian 12 with
#   sudo apt-get install ./build-deb/package/glimmora-game_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib/packages.sh
bash tools/setup.sh > /dev/null # the build's packages
install_packages dpkg-dev # dpkg-shlibdeps finds the package's dependencies
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
rm -rf build-deb/package
cmake -S . -B build-deb -DCMAKE_BUILD_TYPE=Release -DGLIMMORA_BUILD_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-deb -j"$(nproc)" > /dev/null
(cd build-deb && cpack --config CPackConfig.cmake > /dev/null)
ls build-deb/package/glimmora-game_*.deb
