#!/bin/sh
# Regenerate every picture, sound and the music under assets/.
# Installs the few Debian packages the generator needs when they are missing.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
out=${1:-"$root/assets"}

need=""
/usr/bin/python3 -c "import PIL, numpy" 2>/dev/null || need="$need python3-pil python3-numpy"
[ -f /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf ] || need="$need fonts-dejavu-core"
command -v lame >/dev/null 2>&1 || need="$need lame"
command -v oggenc >/dev/null 2>&1 && command -v oggdec >/dev/null 2>&1 || need="$need vorbis-tools"

if [ -n "$need" ]; then
    echo "installing:$need"
    sudo_cmd=""
    [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    $sudo_cmd apt-get install -y --no-install-recommends $need
fi

# Debian's Python, which sees the packages installed above.
exec /usr/bin/python3 "$here/make_assets.py" "$out"
