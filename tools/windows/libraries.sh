#!/usr/bin/env bash
# The Windows build's cross toolchain and libraries (64-bit, mingw-w64 with POSIX threads), on
# Debian 12, as root or through sudo; tools/windows.sh runs it first:
#   tools/windows/libraries.sh            installs the missing packages, builds the libraries once
#                                         into a cache outside the checkout, and prints how to
#                                         configure the game
#   tools/windows/libraries.sh --prefix   the same, printing on stdout only the libraries' folder
#   tools/windows/libraries.sh --rebuild  builds the libraries again even when the cache has them
# The libraries are built from Debian's source packages at the versions pinned below: SFML,
# FreeType, Ogg, Vorbis and FLAC static; OpenAL Soft and mpg123 as DLLs, as their LGPL asks;
# GoogleTest static, for the unit tests under Wine. Each shipped library's licence texts go to
# share/licenses/LIBRARY/ in the prefix, for the Windows zip (tools/windows/package.sh); the LGPL
# libraries' source files exactly as fetched, the options they were built with and this recipe go
# to share/sources/, for the sources zip beside it.
# GLIMMORA_WINDOWS_CACHE overrides the cache folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
toolchain=$root/tools/windows/mingw-w64.cmake
source tools/lib/packages.sh

print_prefix=false
rebuild=false
for arg in "$@"; do
    case $arg in
        --prefix) print_prefix=true ;;
        --rebuild) rebuild=true ;;
        *) echo "usage: tools/windows/libraries.sh [--prefix] [--rebuild]" >&2; exit 2 ;;
    esac
done

# Everything but the --prefix answer goes to stderr, so that scripts can take stdout whole
exec 3>&1 1>&2
started=$(date +%s)
step_start=$started
step() {
    local now
    now=$(date +%s)
    echo "libraries.sh: $1 ($((now - step_start)) s)"
    step_start=$now
}

# Debian 12's source packages. A security update moves a version: the fetch then fails and
# names the new one, to be pinned here once it builds.
sources=(
    "libsfml 2.5.1+dfsg-2"
    "freetype 2.12.1+dfsg-5+deb12u4"
    "libogg 1.3.5-3"
    "libvorbis 1.3.7-1"
    "flac 1.4.2+ds-2"
    "mpg123 1.31.2-1+deb12u1"
    "googletest 1.12.1-0.2"
)
# OpenAL Soft: the package mirror serves neither file of Debian 12's openal-soft (1:1.19.1-2) but
# the next release's upstream tarball, checked against that release's signed source index and
# pinned here by its hash as well.
openal_version=1.24.2
openal_suite=trixie
openal_tarball=openal-soft_${openal_version}.orig.tar.gz
openal_sha256=7efd383d70508587fbc146e4c508771a2235a5fc8ae05bf6fe721c20a348bd7c

# ---------------------------------------------------------------------------------------------
# Packages
# The cross compilers and the build tools; Wine and a virtual display to run the .exe files, with
# the X and GL libraries that Wine's display driver loads (Wine only recommends them); zip and
# NSIS to pack; icoutils to read the packed programs' resources back.
packages=(gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix cmake ninja-build pkg-config
          dpkg-dev xz-utils bzip2 ca-certificates
          wine64 xvfb xauth libgl1 libgl1-mesa-dri libxrender1 libxrandr2 libxi6 libxcursor1
          libxfixes3 libxinerama1 libxcomposite1 libxxf86vm1 zip nsis icoutils)

# apt-get source needs a deb-src entry: one mirroring each Debian deb entry, in a file of our own
deb_src_file=/etc/apt/sources.list.d/glimmora-deb-src.sources
have_deb_src() {
    grep -Eqs '^[[:space:]]*deb-src[[:space:]]' /etc/apt/sources.list /etc/apt/sources.list.d/*.list ||
        grep -Eqs '^Types:.*deb-src' /etc/apt/sources.list.d/*.sources
}
need_update=false
if ! have_deb_src; then
    entries=$(
        # deb822 paragraphs (Debian 12's default) and one-line entries (older installations)
        for file in /etc/apt/sources.list.d/*.sources; do
            [[ -f $file ]] || continue
            awk 'BEGIN { RS = ""; ORS = "\n\n" }
                 /(^|\n)Types:[^\n]*deb([ \t]|\n|$)/ && /URIs:[^\n]*debian/ { sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$file"
        done
        for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [[ -f $file ]] || continue
            sed -n 's/^[[:space:]]*deb[[:space:]]\(.*debian.*\)$/deb-src \1/p' "$file"
        done
    )
    [[ -n $entries ]] || { echo "No Debian entry in /etc/apt/sources.list* to mirror as deb-src." >&2; exit 1; }
    if [[ $entries == deb-src\ * ]]; then
        deb_src_file=/etc/apt/sources.list.d/glimmora-deb-src.list
    fi
    echo "Adding the source packages' entry $deb_src_file"
    printf '%s\n' "$entries" | as_root tee "$deb_src_file" > /dev/null
    need_update=true
fi

# A deb-src entry with no source index fetched yet; installing packages updates the indexes anyway
apt-cache showsrc --only-source libsfml 2> /dev/null | grep -q '^Package:' || need_update=true
if $need_update && [[ -z $(missing_packages "${packages[@]}") ]]; then
    as_root apt-get update -qq
fi
install_packages "${packages[@]}"
step "packages ready"

# ---------------------------------------------------------------------------------------------
# The cached libraries: keyed by the pins (in this script), the build recipe (this script, the
# toolchain file and the packages helper, which the sources zip holds as the prefix does) and the
# compiler, so that any change to one builds them anew.
compiler=$(x86_64-w64-mingw32-g++-posix --version | head -n 1)
key=$( { cat "$0" "$toolchain" "$root/tools/lib/packages.sh"; echo "$compiler"; } | sha256sum | cut -c1-16)
cache=${GLIMMORA_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/glimmora-game}
prefix=$cache/windows-$key

done_prefix() {
    echo "libraries.sh: libraries in $prefix ($(( $(date +%s) - started )) s in all)"
    if $print_prefix; then
        echo "$prefix" >&3
    else
        echo "Configure the game for Windows with:"
        echo "  cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=$toolchain -DCMAKE_PREFIX_PATH=$prefix"
    fi
}

if ! $rebuild && [[ -f $prefix/.complete ]]; then
    touch "$prefix/.complete"
    done_prefix
    exit 0
fi
# The prefix's .pc and CMake files name its own path: it is built in place, and marked complete
# only at the end. Other checkouts may use other recipes: only prefixes unused for a month go.
rm -rf "$prefix"
mkdir -p "$cache"
find "$cache" -mindepth 2 -maxdepth 2 -path "$cache/windows-*/.complete" -mtime +30 -printf '%h\0' |
    xargs -0 -r rm -rf

work=$(mktemp -d "${TMPDIR:-/tmp}/glimmora-windows.XXXXXX")
trap 'echo "libraries.sh: failed; the sources and logs stay in $work" >&2' ERR
cd "$work"

# ---------------------------------------------------------------------------------------------
# Sources
requests=()
for entry in "${sources[@]}"; do
    read -r name version <<< "$entry"
    requests+=("$name=$version")
done
# apt checks every file against the signed source index. Some mirrors lack the upstream
# signatures (.asc) beside the tarballs: only those may be missing.
if ! apt-get source --download-only -qq "${requests[@]}" > fetch.log 2>&1; then
    if grep '^E:' fetch.log | grep -v 'Failed to fetch some archives' | grep -qv '\.asc '; then
        cat fetch.log >&2
        for entry in "${sources[@]}"; do
            read -r name version <<< "$entry"
            available=$(apt-cache showsrc --only-source "$name" 2> /dev/null | sed -n 's/^Version: //p' | sort -u | paste -sd ' ')
            if [[ " $available " != *" $version "* ]]; then
                echo "libraries.sh: Debian serves $name ${available:-in no version}, not the pinned $version:" \
                     "pin the new version in tools/windows/libraries.sh once the libraries build with it." >&2
            fi
        done
        echo "libraries.sh: cannot fetch the source packages (see above)." >&2
        exit 1
    fi
fi
for entry in "${sources[@]}"; do
    read -r name version <<< "$entry"
    dsc=$(ls "${name}_${version#*:}.dsc")
    got=$(sed -n 's/^Version: //p' "$dsc")
    [[ $got == "$version" ]] || { echo "libraries.sh: $name is $got, not the pinned $version" >&2; exit 1; }
    # Already checked by apt against the index; dpkg-source would also want the missing .asc
    dpkg-source --no-check -x "$dsc" "src-$name" > /dev/null
done

# OpenAL Soft through a source list of its own, leaving the machine's apt set-up as it was
mkdir -p apt/lists/partial apt/sources apt/cache/archives/partial
cat > apt/sources/openal.sources << EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $openal_suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
apt_openal=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/apt/sources"
            -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache" -o Debug::NoLocking=1)
apt-get "${apt_openal[@]}" update -qq > fetch-openal.log 2>&1
apt-get "${apt_openal[@]}" source --download-only -qq openal-soft >> fetch-openal.log 2>&1 || true
if [[ ! -f $openal_tarball ]] || ! echo "$openal_sha256  $openal_tarball" | sha256sum -c --quiet - > /dev/null 2>&1; then
    cat fetch-openal.log >&2
    echo "libraries.sh: cannot fetch $openal_tarball with the pinned hash from Debian $openal_suite." >&2
    exit 1
fi
mkdir src-openal-soft
tar -xzf "$openal_tarball" -C src-openal-soft --strip-components=1

# The files of a fetched Debian source package: its .dsc, and what it lists that the mirror served
package_files() {
    local dsc=$1 file
    echo "$dsc"
    for file in $(sed -n '/^Checksums-Sha256:/,/^[^ ]/s/^ [0-9a-f]\{64\} [0-9]* //p' "$dsc"); do
        [[ ! -f $file ]] || echo "$file"
    done
}
pinned() {
    local entry name version
    for entry in "${sources[@]}"; do
        read -r name version <<< "$entry"
        [[ $name != "$1" ]] || echo "$version"
    done
}
# The LGPL libraries' source files byte for byte as fetched, and the recipe that builds them, for the
# sources zip that goes beside the game (tools/windows/package.sh)
mpg123_version=$(pinned mpg123)
mapfile -t mpg123_files < <(package_files "mpg123_${mpg123_version#*:}.dsc")
[[ ${mpg123_files[*]} == *.orig.tar.* && ${mpg123_files[*]} == *.debian.tar.* ]] ||
    { echo "libraries.sh: mpg123's tarballs are missing: ${mpg123_files[*]}" >&2; exit 1; }
mkdir -p "$prefix/share/sources/mpg123" "$prefix/share/sources/openal-soft" "$prefix/share/sources/tools/windows" \
    "$prefix/share/sources/tools/lib"
cp "${mpg123_files[@]}" "$prefix/share/sources/mpg123/"
cp "$openal_tarball" "$prefix/share/sources/openal-soft/"
cp "$root/tools/windows/libraries.sh" "$toolchain" "$root/tools/windows/wine-run.sh" "$prefix/share/sources/tools/windows/"
cp "$root/tools/lib/packages.sh" "$prefix/share/sources/tools/lib/"
step "sources fetched"

# ---------------------------------------------------------------------------------------------
# Builds: release, libraries only, every optional part the game does not use turned off
jobs=$(nproc)
build() {
    local name=$1 source=$2
    shift 2
    local options=(-DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "$@")
    # An LGPL library's build goes with its sources: the command, for the folder they unpack into
    if [[ -d $prefix/share/sources/$name ]]; then
        echo "cmake -G Ninja -S $source -B build-$name" \
             "-DCMAKE_TOOLCHAIN_FILE=\"\$PWD/tools/windows/mingw-w64.cmake\" ${options[*]}" > "$prefix/share/sources/$name/cmake-command"
    fi
    # Wall and processor time: the second tells a build's cost on a busy machine too
    local TIMEFORMAT="libraries.sh: built $name (%0R s; %0U s user + %0S s system)"
    time if ! { cmake -G Ninja -S "$source" -B "build-$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
               -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" &&
           cmake --build "build-$name" -j "$jobs" &&
           cmake --install "build-$name" --strip; } > "build-$name.log" 2>&1; then
        tail -n 40 "build-$name.log" >&2
        echo "libraries.sh: building $name failed; its log: $work/build-$name.log" >&2
        exit 1
    fi
}

# OpenAL Soft is most of the work, nearly all of it compiling: it builds beside the small
# libraries, whose time goes mostly to their one-core configure checks.
# Windows' own output (WASAPI, DirectSound as the fallback) and the null device of the tests;
# no EAX, no HRTF data, no router, utilities or examples. A process group of its own, to be
# stopped whole if the script fails meanwhile.
set -m
build openal-soft src-openal-soft -DLIBTYPE=SHARED -DALSOFT_UTILS=OFF -DALSOFT_EXAMPLES=OFF -DALSOFT_TESTS=OFF \
    -DALSOFT_INSTALL_CONFIG=OFF -DALSOFT_INSTALL_HRTF_DATA=OFF -DALSOFT_INSTALL_AMBDEC_PRESETS=OFF \
    -DALSOFT_INSTALL_EXAMPLES=OFF -DALSOFT_INSTALL_UTILS=OFF -DALSOFT_UPDATE_BUILD_VERSION=OFF \
    -DALSOFT_EAX=OFF -DALSOFT_EMBED_HRTF_DATA=OFF -DALSOFT_BUILD_IMPORT_LIB=OFF \
    -DALSOFT_BACKEND_WINMM=OFF -DALSOFT_BACKEND_WAVE=OFF -DALSOFT_BACKEND_PORTAUDIO=OFF \
    -DALSOFT_BACKEND_JACK=OFF -DALSOFT_BACKEND_SDL2=OFF -DALSOFT_BACKEND_SDL3=OFF &
openal_job=$!
set +m
trap 'kill -- -"$openal_job" 2> /dev/null || true' EXIT

build ogg src-libogg -DBUILD_SHARED_LIBS=OFF -DINSTALL_DOCS=OFF
build vorbis src-libvorbis -DBUILD_SHARED_LIBS=OFF
# FLAC inside Ogg is not read by SFML. Fortify and the stack protector would make every program
# that links the static library also need libssp.
build flac src-flac -DBUILD_SHARED_LIBS=OFF -DWITH_OGG=OFF -DBUILD_CXXLIBS=OFF -DBUILD_PROGRAMS=OFF \
    -DBUILD_EXAMPLES=OFF -DBUILD_DOCS=OFF -DINSTALL_MANPAGES=OFF -DWITH_FORTIFY_SOURCE=OFF \
    -DWITH_STACK_PROTECTOR=OFF
# SFML's graphics module needs FreeType to link, but the game's text is in its pictures: FreeType's
# compressed-font, PNG-glyph and shaping helpers stay out
build freetype src-freetype -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON
# mpg123's own CMake build (ports/cmake): the decoder library only, no network streams
build mpg123 src-mpg123/ports/cmake -DBUILD_SHARED_LIBS=ON -DBUILD_LIBOUT123=OFF -DBUILD_PROGRAMS=OFF \
    -DNETWORK=OFF
# GoogleTest without GoogleMock, which no test uses
build googletest src-googletest -DBUILD_SHARED_LIBS=OFF -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON

wait "$openal_job" || exit 1
trap - EXIT
step "the libraries under SFML built"
# The bundled Windows binaries are stripped from Debian's SFML: it uses the ones built above
build sfml src-libsfml -DBUILD_SHARED_LIBS=OFF -DSFML_USE_SYSTEM_DEPS=ON -DSFML_BUILD_NETWORK=OFF \
    -DSFML_BUILD_EXAMPLES=OFF -DSFML_BUILD_DOC=OFF -DSFML_INSTALL_PKGCONFIG_FILES=OFF
# SFML's static config names two Windows libraries as Windows spells them, which a case-sensitive
# file system does not find: the system's libopengl32.a and OpenAL Soft's libOpenAL32.dll.a
config=$prefix/lib/cmake/SFML/SFMLConfigDependencies.cmake
sed -i -e 's/"OpenGL32"/"opengl32"/' \
    -e 's/SEARCH_NAMES "OpenAL" "openal" "openal32")/SEARCH_NAMES "OpenAL" "openal" "openal32" "OpenAL32")/' "$config"
grep -q '"opengl32"' "$config" && grep -q '"OpenAL32")' "$config" ||
    { echo "libraries.sh: SFML's $config no longer has the names to correct" >&2; exit 1; }

# ---------------------------------------------------------------------------------------------
# Licences, for the Windows zip to ship beside the game: each shipped library's own texts, its
# Debian source package's copyright file (which also covers what upstream bundles, such as SFML's
# stb_image), and where its source came from, as the LGPL DLLs' players may ask: a line, then the
# files, one a line. FILE=NAME renames.
licenses() {
    local library=$1 source=$2 origin=$3 file
    shift 3
    local folder=$prefix/share/licenses/$library
    mkdir -p "$folder"
    for file in "$@"; do
        cp "$source/${file%%=*}" "$folder/$(basename "${file#*=}")"
    done
    if [[ -f $source/debian/copyright ]]; then
        cp "$source/debian/copyright" "$folder/debian-copyright"
    fi
    echo "$origin" > "$folder/source"
}
from_debian() {
    local version
    version=$(pinned "$1")
    echo "Debian 12's source package $1, version $version:"
    package_files "${1}_${version#*:}.dsc"
}
licenses sfml src-libsfml "$(from_debian libsfml)" license.md
# FreeType is offered under its own licence or the GPL: the game takes the FreeType License
licenses freetype src-freetype "$(from_debian freetype)" LICENSE.TXT docs/FTL.TXT
licenses ogg src-libogg "$(from_debian libogg)" COPYING
licenses vorbis src-libvorbis "$(from_debian libvorbis)" COPYING
# libFLAC is BSD; the GPL and LGPL texts beside it are for the programs and the C++ library, not built
licenses flac src-flac "$(from_debian flac)" COPYING.Xiph
licenses mpg123 src-mpg123 "$(from_debian mpg123)" COPYING
# No debian/ folder here: the mirror serves only the upstream tarball. fmt is compiled into the DLL.
fmt_license=(src-openal-soft/fmt-*/LICENSE)
licenses openal-soft src-openal-soft \
    "$(printf '%s\n' "The upstream tarball of Debian $openal_suite's source package openal-soft, version $openal_version:" \
           "$openal_tarball" "sha256 $openal_sha256")" \
    COPYING BSD-3Clause LICENSE-pffft "${fmt_license[0]#src-openal-soft/}=fmt-LICENSE"
# The mingw-w64 runtime and winpthreads are linked into every program, and winpthreads' licence
# asks for its notice. libgcc and libstdc++ are under the GCC Runtime Library Exception, which asks
# for none.
runtime=mingw-w64-x86-64-dev
licenses mingw-w64 "/usr/share/doc/$runtime" \
    "Debian 12's package $runtime, version $(dpkg-query -W -f='${Version}' "$runtime")" copyright=debian-copyright

touch "$prefix/.complete"
trap - ERR
cd "$root"
rm -rf "$work"
done_prefix
