#!/usr/bin/env bash
# The game for 64-bit Windows, in one command on Debian 12 (as root or through sudo): the cross
# toolchain, Wine and the libraries (tools/windows/libraries.sh, cached outside the checkout), then
# the game and its unit tests cross-built into build-windows/, then for players, in dist/
# (tools/windows/package.sh): glimmora-game-<version>-windows-x64.zip, its installer
# glimmora-game-<version>-windows-x64-setup.exe, and the LGPL DLLs' sources beside them,
# glimmora-game-<version>-windows-x64-lgpl-sources.zip.
#   tools/windows.sh [--rebuild]     --rebuild: the libraries too, even when cached
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$(bash tools/windows/libraries.sh --prefix "$@")
# A build made with other libraries would keep finding them: it starts again
grep -qs "^SFML_DIR:PATH=$prefix/" build-windows/CMakeCache.txt || rm -rf build-windows
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=tools/windows/mingw-w64.cmake \
    -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-windows -j"$(nproc)"
bash tools/windows/package.sh build-windows "$prefix"
