#!/usr/bin/env bash
# Installs what the build needs (Debian 12; apt-get as root, or through sudo) and builds into build/.
#   tools/setup.sh                     packages to build and play
#   tools/setup.sh --tests             also the test suite's packages (GoogleTest, Xvfb, xdotool, xrandr,
#                                      ImageMagick, the package builder and its checkers, Python with numpy,
#                                      Pillow, lame and oggdec for the asset checks, unzip for the Windows
#                                      zip's test, clang for the fuzzers; the Windows build installs its own
#                                      in tools/windows/libraries.sh)
#   tools/setup.sh [--tests] --no-build   the packages alone
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib/packages.sh

tests=OFF build=true
for arg in "$@"; do
    case $arg in
        --tests) tests=ON ;;
        --no-build) build=false ;;
        *) echo "usage: tools/setup.sh [--tests] [--no-build]" >&2; exit 2 ;;
    esac
done

# OpenAL only recommends its ALSA and PulseAudio back ends; without them a
# minimal system plays no sound.
packages=(cmake g++ make pkg-config libsfml-dev libmpg123-dev libopenal-dev libx11-dev libxrandr-dev libasound2
          libpulse0)
if [[ $tests == ON ]]; then
    packages+=(libgtest-dev xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick dpkg-dev lintian appstream
               desktop-file-utils python3 python3-numpy python3-pil lame vorbis-tools unzip)
    # The fuzzers (clang's libFuzzer) and the benchmarks
    packages+=(clang libclang-rt-14-dev libbenchmark-dev)
fi
install_packages "${packages[@]}"

$build || exit 0
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMORA_BUILD_TESTS="$tests" > /dev/null
cmake --build build -j"$(nproc)"
