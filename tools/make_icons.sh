#!/usr/bin/env bash
# Renders the desktop icon sizes from packaging/icons/glimmora-game.svg, and the Windows icon from them
# (the results are committed; ImageMagick makes the .ico).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
if ! command -v rsvg-convert > /dev/null; then
    as_root=() && [[ $(id -u) -eq 0 ]] || as_root=(sudo)
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" glimmora-game.svg -o "glimmora-game-$size.png"
done
# The Windows program's icon, every size in one file
convert glimmora-game-{16,24,32,48,64,128,256}.png glimmora-game.ico
