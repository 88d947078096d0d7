#!/usr/bin/env bash
# Packs the Windows build for players, into dist/:
#   glimmora-game-VERSION-windows-x64.zip                one folder to unpack and start glimmora-game.exe from
#   glimmora-game-VERSION-windows-x64-setup.exe          the same files, installed for the current user
#   glimmora-game-VERSION-windows-x64-lgpl-sources.zip   the source of the two LGPL DLLs, and their recipe
#   tools/windows/package.sh BUILD_DIR PREFIX
# BUILD_DIR holds the cross-built glimmora-game.exe; PREFIX is the libraries' folder of
# tools/windows/libraries.sh (its --prefix), with their DLLs, licence texts and the LGPL sources. The
# assets and LICENSE come from the checkout's last commit, never from files lying beside them (a best
# score). The same commit, build and prefix give the same bytes: time stamps are the commit's (or
# SOURCE_DATE_EPOCH), the entries sorted.
set -euo pipefail
(($# == 2)) || { echo "usage: tools/windows/package.sh BUILD_DIR PREFIX" >&2; exit 2; }
build=$(realpath "$1")
prefix=$(realpath "$2")
cd "$(dirname "$0")/../.."
root=$PWD
triple=x86_64-w64-mingw32
fail() { echo "package.sh: $*" >&2; exit 1; }

[[ -f $build/glimmora-game.exe ]] || fail "no glimmora-game.exe in $build"
[[ -d $prefix/share/licenses && -d $prefix/share/sources ]] ||
    fail "$prefix has no licence texts or sources: build it with tools/windows/libraries.sh"
for tool in zip makensis "$triple-strip" "$triple-objdump"; do
    command -v "$tool" > /dev/null || fail "$tool is missing (tools/windows.sh installs it)"
done
version=$(sed -n 's/^project([^)]* VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || fail "no project version in CMakeLists.txt"
name=glimmora-game-$version
zip=$root/dist/$name-windows-x64.zip
setup=$root/dist/$name-windows-x64-setup.exe
sources_name=$name-windows-x64-lgpl-sources
sources_zip=$root/dist/$sources_name.zip
# strip writes it into the .exe's header too
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
top=$stage/game/$name
sources=$stage/sources/$sources_name
mkdir -p "$top/licenses" "$sources"
"$triple-strip" -o "$top/glimmora-game.exe" "$build/glimmora-game.exe"

# The prefix's DLLs that the program imports, and theirs in turn. Any other DLL must be Windows'
# own: one named lib* is a MinGW runtime that a player's Windows lacks.
queue=("$top/glimmora-game.exe")
while ((${#queue[@]})); do
    while read -r dll; do
        [[ ! -e $top/$dll ]] || continue
        found=$(find "$prefix/bin" -maxdepth 1 -iname "$dll" -print -quit)
        if [[ -n $found ]]; then
            cp "$found" "$top/$dll"
            queue+=("$top/$dll")
        elif [[ ${dll,,} == lib* ]]; then
            fail "${queue[0]##*/} needs $dll, which is neither in $prefix/bin nor part of Windows"
        fi
    done < <("$triple-objdump" -p "${queue[0]}" | sed -n 's/^[[:space:]]*DLL Name: //p')
    queue=("${queue[@]:1}")
done

git archive --format=tar HEAD assets | tar -x -C "$top"
rm -f "$top"/assets/highscore.txt*
cp -R "$prefix/share/licenses/." "$top/licenses/"

# Fills a text's placeholders: @VERSION@, @SOURCES@ (the sources zip) and those given as NAME=VALUE;
# fails on any left unfilled
fill() {
    local text=$1 pair
    shift
    text=${text//@VERSION@/"$version"}
    text=${text//@SOURCES@/"$sources_name.zip"}
    for pair in "$@"; do
        text=${text//"@${pair%%=*}@"/"${pair#*=}"}
    done
    [[ $text != *@[a-z]*@* && $text != *@[A-Z]*@* ]] || fail "a placeholder is left unfilled in: ${text:0:60}..."
    printf '%s\n' "$text"
}
# The first line again as the second, in = signs: the title's underline
underline() {
    local text title rest
    text=$(< /dev/stdin)
    title=${text%%$'\n'*} rest=${text#*$'\n'}
    printf '%s\n%s\n%s\n' "$title" "$(printf '%*s' "${#title}" '' | tr ' ' =)" "${rest#*$'\n'}"
}
indent() { sed "s/^/  /" "$1"; }

# The LGPL libraries' origin, as tools/windows/libraries.sh noted it
for library in openal-soft mpg123; do
    [[ -f $top/licenses/$library/source ]] || fail "$prefix lacks the licences of $library"
done
fill "$(< "tools/windows/How to play.txt")" "openal-soft=$(indent "$top/licenses/openal-soft/source")" \
    "mpg123=$(indent "$top/licenses/mpg123/source")" | underline > "$top/How to play.txt"

# The licence: the MIT text as the checkout has it, then what the zip itself holds under which
# licence, in place of the checkout's folders
license=$(git show HEAD:LICENSE)
[[ $license == *$'\nArt and sound\n'* ]] || fail "LICENSE has no \"Art and sound\" part to replace"
mit=$(printf '%s' "${license%%$'\n'Art and sound$'\n'*}")
{ printf '%s\n\n\n' "$mit" && fill "$(< tools/windows/LICENSE-windows.txt)"; } > "$top/LICENSE.txt"

# Notepad and Explorer open only what has a known extension; CRLF for older Notepads
crlf_txt() {
    local file
    while IFS= read -r -d '' file; do
        case ${file,,} in
            *.txt) ;;
            *) mv "$file" "$file.txt" && file=$file.txt ;;
        esac
        sed -i 's/\r*$/\r/' "$file"
    done
}
find "$top/licenses" "$top/LICENSE.txt" "$top/How to play.txt" -type f -print0 | crlf_txt

# The sources zip: the LGPL libraries' files as fetched, the scripts that built them, and how
cp -R "$prefix/share/sources/." "$sources/"
commands=()
for library in openal-soft mpg123; do
    [[ -f $sources/$library/cmake-command ]] || fail "$prefix lacks the build command of $library"
    # The command on lines of at most 80 characters, for the text
    read -ra words < "$sources/$library/cmake-command"
    line= wrapped=
    for word in "${words[@]}"; do
        if [[ -z $line ]]; then
            line="    $word"
        elif ((${#line} + 1 + ${#word} > 76)); then
            wrapped+="$line \\"$'\n' line="        $word"
        else
            line+=" $word"
        fi
    done
    commands+=("$library-command=$wrapped$line")
    rm "$sources/$library/cmake-command"
done
mpg123_dsc=$(cd "$sources" && ls mpg123/*.dsc)
openal_tarball=$(cd "$sources" && ls openal-soft/*.tar.*)
(cd "$sources" && find openal-soft mpg123 -type f | LC_ALL=C sort | xargs sha256sum) > "$sources/SHA256SUMS"
fill "$(< "tools/windows/Rebuilding the DLLs.txt")" "${commands[@]}" "mpg123-dsc=$mpg123_dsc" \
    "openal-tarball=$openal_tarball" | underline > "$sources/README.txt"
printf '%s\0' "$sources/README.txt" | crlf_txt

# The installer's lists: each folder made and its files put in, parents first; for the uninstaller,
# the same files deleted and the folders removed, children first
nsis=$stage/nsis
mkdir -p "$nsis"
(
    cd "$top"
    while IFS= read -r dir; do
        [[ $dir =~ ^[A-Za-z0-9\ ._/+-]+$ ]] || fail "a name NSIS would need quoted: $dir"
        win=${dir#.} win=${win//\//\\}
        echo "    SetOutPath \"\$INSTDIR$win\""
        find "$dir" -mindepth 1 -maxdepth 1 -type f | LC_ALL=C sort | while IFS= read -r file; do
            [[ $file =~ ^[A-Za-z0-9\ ._/+-]+$ ]] || fail "a name NSIS would need quoted: $file"
            echo "    File \"game/$name/${file#./}\""
        done
    done < <(find . -type d | LC_ALL=C sort) > "$nsis/install.nsh"
    {
        find . -type f | LC_ALL=C sort | while IFS= read -r file; do
            file=${file#./} && echo "    Delete \"\$INSTDIR\\${file//\//\\}\""
        done
        find . -mindepth 1 -type d | LC_ALL=C sort -r | while IFS= read -r dir; do
            dir=${dir#./} && echo "    RMDir \"\$INSTDIR\\${dir//\//\\}\""
        done
    } > "$nsis/uninstall.nsh"
)

chmod -R u=rwX,go=rX "$stage"
chmod 755 "$top"/*.exe "$top"/*.dll
find "$stage" -exec env TZ=UTC touch -h -d "@$SOURCE_DATE_EPOCH" {} +
mkdir -p "$root/dist"
# Sorted entries; zip stores local times: UTC, so that the machine's time zone does not change the bytes.
# Arguments: the zip, the folder of what goes in, zip's options.
pack_zip() {
    local out=$1 dir=$2
    shift 2
    rm -f "$out"
    (cd "$dir" && find . -mindepth 1 -type f -printf '%P\n' | LC_ALL=C sort | TZ=UTC zip -X -D -q "$@" "$out" -@)
}
pack_zip "$zip" "$stage/game" -9
# The tarballs stored as they are: compressed already (-9 would compress them all again)
pack_zip "$sources_zip" "$stage/sources" -n .gz:.bz2:.xz:.asc

IFS=. read -ra numbers <<< "$version"
while ((${#numbers[@]} < 4)); do numbers+=(0); done
(cd "$stage" && makensis -NOCD -V2 -DVERSION="$version" -DVERSION4="$(IFS=.; echo "${numbers[*]}")" \
    -DLISTS=nsis -DOUTFILE="$setup" -DICON="$root/packaging/icons/glimmora-game.ico" \
    -DSIZE_KB="$(du -sk --apparent-size "$top" | cut -f1)" "$root/tools/windows/installer.nsi") > /dev/null ||
    fail "makensis failed"
for file in "$zip" "$setup" "$sources_zip"; do
    echo "$file ($(stat -c %s "$file") bytes, $(numfmt --to=iec-i --suffix=B --round=nearest --format=%.1f "$(stat -c %s "$file")"))"
done
