#!/usr/bin/env bash
# Packs the Windows build for players: dist/glimmora-game-VERSION-windows-x64.zip, one folder to
# unpack and start glimmora-game.exe from.
#   tools/windows/package.sh BUILD_DIR PREFIX
# BUILD_DIR holds the cross-built glimmora-game.exe; PREFIX is the libraries' folder of
# tools/windows/libraries.sh (its --prefix), with their DLLs and licence texts. The assets and LICENSE come
# from the checkout's last commit, never from files lying beside them (a best score). The same
# commit, build and prefix give the same bytes: time stamps are the commit's (or
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
[[ -d $prefix/share/licenses ]] || fail "$prefix has no licence texts: build it with tools/windows/libraries.sh"
for tool in zip "$triple-strip" "$triple-objdump"; do
    command -v "$tool" > /dev/null || fail "$tool is missing (tools/windows.sh installs it)"
done
version=$(sed -n 's/^project([^)]* VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $version ]] || fail "no project version in CMakeLists.txt"
name=glimmora-game-$version
zip=$root/dist/$name-windows-x64.zip
# strip writes it into the .exe's header too
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
top=$stage/$name
mkdir -p "$top/licenses"
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

git archive --format=tar HEAD assets LICENSE | tar -x -C "$top"
rm -f "$top"/assets/highscore.txt*
mv "$top/LICENSE" "$top/LICENSE.txt"
cp -R "$prefix/share/licenses/." "$top/licenses/"

# The LGPL libraries' origin, as tools/windows/libraries.sh noted it
text=$(< "tools/windows/How to play.txt")
text=${text//@VERSION@/$version}
for library in openal-soft mpg123; do
    [[ -f $top/licenses/$library/source ]] || fail "$prefix lacks the licences of $library"
    text=${text//@$library@/$(< "$top/licenses/$library/source")}
done
[[ $text != *@*@* ]] || fail "a placeholder of How to play.txt is left unfilled"
printf '%s\n' "$text" > "$top/How to play.txt"

# Notepad and Explorer open only what has a known extension; CRLF for older Notepads
mapfile -d '' texts < <(find "$top/licenses" "$top/LICENSE.txt" "$top/How to play.txt" -type f -print0)
for file in "${texts[@]}"; do
    case ${file,,} in
        *.txt) ;;
        *) mv "$file" "$file.txt" && file=$file.txt ;;
    esac
    sed -i 's/\r*$/\r/' "$file"
done

chmod -R u=rwX,go=rX "$stage"
chmod 755 "$top"/*.exe "$top"/*.dll
find "$stage" -exec env TZ=UTC touch -h -d "@$SOURCE_DATE_EPOCH" {} +
mkdir -p "$root/dist"
rm -f "$zip"
# zip stores local times: UTC, so that the machine's time zone does not change the bytes
(cd "$stage" && find "$name" -type f | LC_ALL=C sort | TZ=UTC zip -X -D -9 -q "$zip" -@)
echo "$zip ($(stat -c %s "$zip") bytes, $(numfmt --to=iec --suffix=B "$(stat -c %s "$zip")"))"
