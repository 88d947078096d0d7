#!/usr/bin/env bash
# Installs what the build needs (Debian 12; apt-get as root, or through sudo) and builds into build/.
#   tools/setup.sh          packages to build and play
#   tools/setup.sh --tests  also the test suite's packages (GoogleTest, Xvfb, xdotool, xrandr, ImageMagick,
#                           the package builder and its checkers, Python with numpy, Pillow, lame and
#                           oggdec for the asset checks, and unzip for the Windows zip's test; the Windows
#                           build installs its own in tools/windows/libraries.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

# OpenAL only recommends its ALSA and PulseAudio back ends; without them a
# minimal system plays no sound.
packages=(cmake g++ make pkg-config libsfml-dev libmpg123-dev libopenal-dev libx11-dev libxrandr-dev libasound2
          libpulse0)
if [[ "${1:-}" == "--tests" ]]; then
    packages+=(libgtest-dev xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick dpkg-dev lintian appstream
               desktop-file-utils python3 python3-numpy python3-pil lame vorbis-tools unzip)
    # The fuzzers (clang's libFuzzer) and the benchmarks
    packages+=(clang libclang-rt-14-dev libbenchmark-dev)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    # Only the packages need root: the build and the best-score file stay the player's own.
    as_root=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo > /dev/null || { echo "Installing packages needs root: run as root or install sudo." >&2; exit 1; }
        as_root=(sudo)
    fi
    "${as_root[@]}" apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

tests=OFF
[[ "${1:-}" == "--tests" ]] && tests=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLIMMORA_BUILD_TESTS="$tests" > /dev/null
cmake --build build -j"$(nproc)"
