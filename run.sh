#!/bin/sh
# Installs what is missing, builds the demo and runs it. Without a display it runs under Xvfb.
#   ./run.sh                                   run until Escape or the window is closed
#   ./run.sh --frames N --screenshot FILE.png  run N frames and save the last one
set -eu
here=$(cd "$(dirname "$0")" && pwd)
"$here/tools/install-packages.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$here/build" --target Duskify -j"$(nproc)"

set --  "$@"
engine_options=""
while [ $# -gt 0 ]; do
    case "$1" in
        --frames) engine_options="$engine_options --tarvoke-frames $2"; shift 2 ;;
        --screenshot)
            # The game starts in its own folder, so the picture's path is made absolute here.
            case "$2" in /*) shot="$2" ;; *) shot="$(pwd)/$2" ;; esac
            engine_options="$engine_options --tarvoke-screenshot $shot"; shift 2 ;;
        *) echo "run.sh: unknown option $1" >&2; exit 2 ;;
    esac
done

# shellcheck disable=SC2086
if [ -n "${DISPLAY:-}" ]; then
    exec "$here/build/Duskify" $engine_options
else
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$here/build/Duskify" $engine_options
fi
