#!/bin/sh
# Refreshes the README's examples gallery: builds every example game (in build/, configured as
# ./run.sh does, or in BUILD_DIR), runs each headless with the engine's screenshot option, saves
# its last frame as docs/gallery/FOLDER.png and rewrites the README's gallery table between its
# two marker lines.
#   tools/make-gallery.sh [BUILD_DIR]
#
# An example joins by its folder's CMakeLists.txt alone: examples/CMakeLists.txt builds every
# numbered folder that has one and lists its games in BUILD_DIR/examples/examples.txt. The
# caption is the first sentence of the comment that opens the folder's main.cpp. A folder may hold
# gallery.conf, read by this shell, setting frames (how many frames to run, 60 by default) and
# arguments (the game's command line); it may name $scratch, an empty folder made for the run and
# removed after it.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
if ! grep -q '^<!-- gallery start' "$here/README.md" || ! grep -q '^<!-- gallery end' "$here/README.md"; then
    echo "make-gallery: README.md lacks the lines <!-- gallery start --> and <!-- gallery end -->" >&2
    exit 1
fi
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tarvoke_examples -j"$(nproc)"

mkdir -p "$here/docs/gallery"
table=$(mktemp)
scratch=$(mktemp -d)
trap 'rm -rf "$table" "$scratch"' EXIT
tab=$(printf '\t')
shown=""
export SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy
while IFS="$tab" read -r folder game; do
    case " $shown " in *" $folder "*) continue ;; esac   # the first game of a folder
    shown="$shown $folder"
    frames=60 arguments=""
    rm -rf "$scratch" && mkdir "$scratch"
    # shellcheck disable=SC1090
    [ -f "$here/examples/$folder/gallery.conf" ] && . "$here/examples/$folder/gallery.conf"
    shot="$here/docs/gallery/$folder.png"
    rm -f "$shot"
    # The game starts in its own folder; the picture's path is absolute.
    # shellcheck disable=SC2086
    "$game" $arguments --tarvoke-frames "$frames" --tarvoke-screenshot "$shot" </dev/null >/dev/null
    [ -s "$shot" ] || { echo "make-gallery: $folder saved no picture" >&2; exit 1; }
    caption=$(sed -n '/^\/\//!q; s|^// \{0,1\}||p' "$here/examples/$folder/main.cpp" 2>/dev/null |
        tr '\n' ' ' | sed 's/\([.!?]\) .*/\1/; s/|/\\|/g')
    printf '| <img src="docs/gallery/%s.png" width="320" alt="%s"> | `examples/%s`: %s |\n' \
        "$folder" "$folder" "$folder" "$caption" >>"$table"
    echo "make-gallery: docs/gallery/$folder.png"
done <"$build/examples/examples.txt"

# The README keeps everything outside the markers; between them goes the new table.
awk -v table="$table" '
    /^<!-- gallery start/ { print; print "| Picture | Example |"; print "| --- | --- |";
                            while ((getline line < table) > 0) print line; skipping = 1; next }
    /^<!-- gallery end/   { skipping = 0 }
    !skipping' "$here/README.md" >"$here/README.md.new"
mv "$here/README.md.new" "$here/README.md"
