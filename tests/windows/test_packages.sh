# The Windows packages' contents, read back without running them: each program and DLL carries one
# version resource, its own (the game's, the installer's, OpenAL Soft's), none of the threads
# library's; the game declares its manifest; the sources zip holds each LGPL library's files that the
# zip's notices name, byte for byte, and the recipe that built them; the texts fit Notepad.
#   bash tests/windows/test_packages.sh <zip> <repo root>     (the installer and sources zip beside it)
set -euo pipefail
ZIP=$(readlink -f "$1") ROOT=$(readlink -f "$2")
SETUP=${ZIP%.zip}-setup.exe SOURCES=${ZIP%.zip}-lgpl-sources.zip
NAME=test_packages
fail() { echo "FAIL [$NAME]: $*" >&2; exit 1; }
log() { echo "[$NAME] $*" >&2; }
type -P wrestool unzip perl > /dev/null || fail "needs icoutils, unzip and perl (bash tools/test.sh windows installs them)"
[[ -f $SETUP && -f $SOURCES ]] || fail "no installer or sources zip beside $ZIP"
TMP=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-packages.XXXXXX")
trap 'rm -rf "$TMP"' EXIT
unzip -q "$ZIP" -d "$TMP/zip" && unzip -q "$SOURCES" -d "$TMP/sources"
GAME=$(echo "$TMP"/zip/*) LIBS=$(echo "$TMP"/sources/*)
VERSION=$(sed -n 's/^project([^)]* VERSION \([0-9][0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")

# A version resource's fixed file version and its strings, one "Key=Value" a line
version_strings() {
    wrestool -x --raw --type=16 "$1" | perl -e '
        binmode STDIN; binmode STDOUT, ":utf8"; local $/; my $d = <STDIN>;
        sub text { my ($p, $end) = @_; my $s = "";
            for (; $p + 1 < $end; $p += 2) { my $c = unpack("v", substr($d, $p, 2)); last if !$c; $s .= chr($c) }
            return ($s, $p + 2) }
        sub walk { my ($off, $end, $depth) = @_;
            while ($off + 6 <= $end) {
                my ($len, $vlen) = unpack("v2", substr($d, $off, 4));
                last if $len < 6;
                my ($key, $p) = text($off + 6, $off + $len); $p = ($p + 3) & ~3;
                if ($depth == 0) {
                    my @v = unpack("V4", substr($d, $p + 8, 16));
                    printf "FILEVERSION=%d.%d.%d.%d\n", $v[0] >> 16, $v[0] & 0xffff, $v[1] >> 16, $v[1] & 0xffff;
                    walk(($p + $vlen + 3) & ~3, $off + $len, 1) }
                elsif ($depth < 3) { walk($p, $off + $len, $depth + 1) if $depth == 2 || $key eq "StringFileInfo" }
                else { print "$key=", (text($p, $off + $len))[0], "\n" }
                $off = ($off + $len + 3) & ~3 } }
        walk(0, length $d, 0)'
}
# Fails unless FILE has COUNT version resources, and then one string KEY whose value matches each
# KEY=GLOB given; no value may name the threads library or its makers
check_version() {
    local file=$1 count=$2 found strings pair value
    shift 2
    found=$(wrestool -l --type=16 "$file" 2> /dev/null | wc -l)
    ((found == count)) || fail "${file##*/} has $found version resources, expected $count: $(wrestool -l "$file")"
    ((count)) || return 0
    strings=$(version_strings "$file")
    for pair in "$@"; do
        value=$(sed -n "s/^${pair%%=*}=//p" <<< "$strings")
        # shellcheck disable=SC2053 # the pattern is a glob
        [[ $value != *$'\n'* && $value == ${pair#*=} ]] ||
            fail "${file##*/}: expected ${pair%%=*} like \"${pair#*=}\"; its strings: $(paste -sd '|' <<< "$strings")"
    done
    ! grep -qi -e winthreads -e mingw <<< "$strings" || fail "${file##*/} names another program: $(paste -sd '|' <<< "$strings")"
    log "${file##*/}: $(grep -E '^(ProductName|FileDescription|ProductVersion)=' <<< "$strings" | paste -sd ' ')"
}
# The LGPL libraries' versions as the zip's notices give them
openal_version=$(sed -n 's/.*openal-soft, version \([0-9.]*\):.*/\1/p' "$GAME/licenses/openal-soft/source.txt")
mpg123_version=$(sed -n 's/.*mpg123, version \([0-9.]*\)-.*/\1/p' "$GAME/licenses/mpg123/source.txt")
[[ -n $openal_version && -n $mpg123_version ]] || fail "the notices name no versions: $(cat "$GAME"/licenses/*/source.txt)"
IFS=. read -ra n <<< "$VERSION.0.0.0"
check_version "$GAME/glimmora-game.exe" 1 "ProductName=Glimmora Game" "ProductVersion=$VERSION" "FileVersion=$VERSION" \
    "FILEVERSION=${n[0]}.${n[1]}.${n[2]}.${n[3]}" "CompanyName=?*" "FileDescription=?*"
check_version "$SETUP" 1 "ProductName=Glimmora Game" "ProductVersion=$VERSION" "FileDescription=*installer*"
check_version "$GAME/OpenAL32.dll" 1 "ProductName=*OpenAL Soft*" "FileVersion=$openal_version*"
check_version "$GAME/libmpg123.dll" 0
[[ $(ls "$GAME"/*.exe "$GAME"/*.dll | wc -l) == 3 ]] || fail "other programs or DLLs to check: $(ls "$GAME")"

# The manifest: as the user who starts it, Windows 7 to 11, per-monitor resolution, long paths
manifest=$(wrestool -x --raw --type=24 "$GAME/glimmora-game.exe")
for part in 'level="asInvoker"' '>PerMonitorV2, PerMonitor<' '>true/pm<' 'longPathAware[^>]*>true<' \
    8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a 1f676c76-80e1-4239-95bb-83d0f6d0da78 \
    4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 35138b9a-5d96-4fbd-8e2d-a2440225f93a; do
    grep -q -- "$part" <<< "$manifest" || fail "the game's manifest lacks $part"
done
[[ $(wrestool -l --type=24 "$GAME/glimmora-game.exe" | wc -l) == 1 ]] || fail "the game has no one manifest"
log "the manifest declares asInvoker, PerMonitorV2, long paths and Windows 7 to 11"

# Each file a notice names is in the sources zip, with the hash the notice or the signed .dsc gives
for library in openal-soft mpg123; do
    notice=$GAME/licenses/$library/source.txt
    files=$(tr -d '\r' < "$notice" | grep -E '\.(tar\.[a-z0-9]+|dsc)$') || fail "$notice names no files"
    for file in $files; do
        [[ -f $LIBS/$library/$file ]] || fail "the sources zip lacks $library/$file, which $notice names"
        sum=$(sha256sum < "$LIBS/$library/$file" | cut -d' ' -f1)
        [[ $file == *.dsc ]] || tr -d '\r' < "$notice" | grep -qx "sha256 $sum" ||
            grep -q "^ $sum [0-9]* $file$" "$LIBS"/$library/*.dsc 2> /dev/null ||
            fail "$library/$file in the sources zip is not the file its notice or .dsc names (sha256 $sum)"
        grep -qx "$sum  $library/$file" "$LIBS/SHA256SUMS" || fail "SHA256SUMS lacks the sum of $library/$file"
    done
    log "the sources zip holds $library's $(echo $files)"
done
for file in windows/libraries.sh windows/mingw-w64.cmake lib/packages.sh; do
    cmp -s "$LIBS/tools/$file" "$ROOT/tools/$file" || fail "the sources zip's tools/$file is not the checkout's"
done

# The texts: lines Notepad shows whole, underlines as long as their titles, only folders the zip has
for file in "$GAME"/*.txt "$LIBS/README.txt"; do
    tr -d '\r' < "$file" | awk -v f="${file##*/}" '
        length > 100 { print f ": line " NR " has " length " characters"; bad = 1 }
        /^(=+|-+)$/ && NR > 1 && length != length(prev) { print f ": line " NR "\x27s underline is not as long as its title"; bad = 1 }
        { prev = $0 } END { exit bad }' >&2 || fail "${file##*/} does not fit"
done
for folder in $(cat "$GAME/LICENSE.txt" "$GAME/How to play.txt" | tr -d '\r' | sed 's#https\?://[^ )]*##g' |
                grep -oE '(^|[ ("])[A-Za-z0-9_.-]+/([A-Za-z0-9_.-]+/)*($|[ )",.;:])' | tr -d ' ()",.;:' | sort -u); do
    [[ -d $GAME/$folder ]] || fail "LICENSE.txt or How to play.txt names $folder, which is not in the zip"
done
log "passed"
