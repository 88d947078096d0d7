#!/usr/bin/env bash
# Renders the desktop icon sizes from packaging/icons/glimmora-game.svg, and the Windows icon from them
# (the results are committed; ImageMagick makes the .ico).
set -euo pipefail
source "$(dirname "$0")/lib/packages.sh"
install_packages librsvg2-bin # rsvg-convert
cd "$(dirname "$0")/../packaging/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" glimmora-game.svg -o "glimmora-game-$size.png"
done
# The Windows program's icon, every size in one file
convert glimmora-game-{16,24,32,48,64,128,256}.png glimmora-game.ico
