#!/bin/sh
# Regenerate every picture, sound and the music under assets/.
# Installs the few Debian packages the generator needs when they are missing.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:-"$root/assets"}

. "$here/lib/packages.sh"
install_packages python3-pil python3-numpy fonts-dejavu-core lame vorbis-tools

# Debian's Python, which sees the packages installed above.
exec /usr/bin/python3 "$here/make_assets.py" "$out"
