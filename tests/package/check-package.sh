#!/bin/sh
# Checks the engine as games outside its tree use it, starting from a finished build (the plain
# one of ./test.sh, which is installed and packed, not rebuilt):
#   - installed into a temporary prefix, it holds no path of this machine's build;
#   - examples/01-scrolling-scene, configured there as a project of its own with find_package,
#     builds and runs, and so does examples/05-3d-scene, whose model the installed tarvoke-ddd
#     converts; a project asking for the next major version is refused;
#   - the same example built with g++ and pkg-config (tarvoke.pc) runs;
#   - examples/03-sound-board built in a project that adds the engine's folder (add_subdirectory;
#     the engine alone is compiled, without optimisation) runs with its generated media;
#   - cpack makes the .deb: its files and Debian dependencies are checked, and the example builds
#     against the package's contents unpacked.
# Each game runs headless for a few frames and must end well, save its last frame, show more than
# a blank screen, and have "smalfont.bmp" beside it.
#   tests/package/check-package.sh [BUILD_DIR]
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$source_dir/build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
jobs=$(nproc)
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy

fail() {
    echo "check-package: $*" >&2
    exit 1
}

run_game() {
    game=$1
    shot="$work/$(basename "$game").png"
    "$game" --tarvoke-frames 5 --tarvoke-screenshot "$shot" </dev/null >/dev/null || fail "$game ended with $?"
    [ -s "$shot" ] || fail "$game saved no screenshot"
    [ -f "$(dirname "$game")/smalfont.bmp" ] || fail "no smalfont.bmp beside $game"
    colours=$(identify -format '%k' "$shot")
    [ "$colours" -gt 2 ] || fail "$game showed $colours colours"
    echo "ran $game: $colours colours"
}

# build_example NAME SOURCE_FOLDER PREFIX: a project of its own, built in $work/NAME
build_example() {
    cmake -S "$2" -B "$work/$1" -DCMAKE_PREFIX_PATH="$3" >"$work/$1.log" 2>&1 ||
        { cat "$work/$1.log"; fail "configuring $2 against $3 failed"; }
    cmake --build "$work/$1" -j"$jobs" >>"$work/$1.log" 2>&1 || { cat "$work/$1.log"; fail "building $2 failed"; }
}

echo "== Installing into a temporary prefix"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" --component tarvoke >/dev/null
if grep -rIl -e "$source_dir" -e "$build" "$prefix"; then fail "the files above name the build's folders"; fi

echo "== An example as a project of its own, with find_package(Tarvoke)"
build_example scene "$source_dir/examples/01-scrolling-scene" "$prefix"
run_game "$work/scene/scrolling_scene"
build_example rocket "$source_dir/examples/05-3d-scene" "$prefix"
run_game "$work/rocket/3d-scene"
mkdir -p "$work/newer"
printf 'cmake_minimum_required(VERSION 3.25)\nproject(newer CXX)\nfind_package(Tarvoke %s REQUIRED)\n' \
    "$(($(sed -n 's/^#define TARVOKE_VERSION_MAJOR //p' "$prefix/include/tarvoke/version.h") + 1))" >"$work/newer/CMakeLists.txt"
if cmake -S "$work/newer" -B "$work/newer/build" -DCMAKE_PREFIX_PATH="$prefix" >"$work/newer.log" 2>&1; then
    fail "a project asking for the next major version was configured"
fi
grep -q "compatible with requested version" "$work/newer.log" || { cat "$work/newer.log"; fail "the refusal does not name the version"; }

echo "== The same example with pkg-config"
mkdir -p "$work/pc"
# shellcheck disable=SC2046
g++ -std=c++17 -o "$work/pc/scrolling_scene" "$source_dir/examples/01-scrolling-scene/main.cpp" \
    $(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs tarvoke)
cp "$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --variable=smalfont tarvoke)" "$work/pc/"
run_game "$work/pc/scrolling_scene"

echo "== An example in a project that adds the engine's folder"
mkdir -p "$work/outer"
cat >"$work/outer/CMakeLists.txt" <<EOF
cmake_minimum_required(VERSION 3.25)
project(outer LANGUAGES CXX)
add_subdirectory("$source_dir" tarvoke)
add_subdirectory("$source_dir/examples/03-sound-board" sound-board)
EOF
cmake -S "$work/outer" -B "$work/outer/build" >"$work/outer.log" 2>&1 || { cat "$work/outer.log"; fail "configuring failed"; }
cmake --build "$work/outer/build" -j"$jobs" --target sound_board >>"$work/outer.log" 2>&1 ||
    { tail -40 "$work/outer.log"; fail "building failed"; }
board="$work/outer/build/sound-board/sound_board"
for media in blip chime drum laser groove; do
    [ -s "$(dirname "$board")/$media.wav" ] || fail "the sound board's $media.wav was not made beside it"
done
run_game "$board"

echo "== The Debian package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/deb/*.deb)
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|' >"$work/files"
for file in /usr/lib/libtarvoke.a /usr/lib/libtarvoke_main.a /usr/include/tarvoke.h \
    /usr/include/tarvoke/version.h /usr/include/tarvoke/graphics2d.h \
    /usr/lib/cmake/Tarvoke/TarvokeConfig.cmake /usr/lib/cmake/Tarvoke/TarvokeConfigVersion.cmake \
    /usr/lib/cmake/Tarvoke/TarvokeTargets.cmake /usr/lib/cmake/Tarvoke/FindLZO2.cmake \
    /usr/lib/pkgconfig/tarvoke.pc /usr/bin/tarvoke-pack /usr/bin/tarvoke-ddd /usr/share/tarvoke/smalfont.bmp; do
    grep -qx "$file" "$work/files" || fail "the package lacks $file"
done
if grep -E 'Duskify|test\.png|gtest|_tests$|/usr/bin/smalfont' "$work/files"; then fail "the package holds the lines above"; fi
depends=$(dpkg-deb -f "$deb" Depends)
for package in $(echo "$depends" | tr -d ','); do
    dpkg-query -W "$package" >/dev/null 2>&1 || fail "the package depends on $package, which is no installed Debian package"
done
echo "$depends" | grep -q libsdl2-mixer-dev || fail "the package's dependencies lack SDL2_mixer: $depends"
dpkg-deb -x "$deb" "$work/root"
build_example scene-deb "$source_dir/examples/01-scrolling-scene" "$work/root/usr"
run_game "$work/scene-deb/scrolling_scene"
echo "check-package: $(basename "$deb") ($(wc -l <"$work/files") entries; Depends: $depends)"
