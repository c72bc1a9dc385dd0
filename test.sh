#!/bin/sh
# Installs what is missing, builds the engine twice (plain, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test of both builds headless under Xvfb; checks the
# engine as games outside its tree use it (tests/package/check-package.sh: installed, through
# find_package, pkg-config and add_subdirectory, and as a .deb); then builds the fuzz targets
# with clang and runs each for a bounded time (tests/fuzz/run-fuzzers.sh).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
"$here/tools/install-packages.sh"
"$here/tools/check-includes.sh"
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTARVOKE_SANITIZE=ON -DTARVOKE_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$jobs"

# Mesa stays loaded after SDL lets go of it, so the leak checker can still see its memory;
# libasan must come first for that. The suppressions name only the system's libraries.
# Eight frames of allocation stack are enough to place a report and make GL-heavy tests
# about a sixth faster than the default thirty.
asan_preload="$(gcc -print-file-name=libasan.so):/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so:libEGL_mesa.so.0:libGLX_mesa.so.0"
asan_env="LD_PRELOAD=$asan_preload ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:malloc_context_size=8 LSAN_OPTIONS=suppressions=$here/tests/sanitizer/lsan.supp:print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"

# -noreset: by default Xvfb resets whenever its last client leaves, and a game that connects
# during the reset is refused; the tests start and end many clients.
echo "== Tests of the sanitizer build"
sanitized=0
xvfb-run -a -s "-noreset -screen 0 1024x768x24" sh -c "cd build-asan && env $asan_env ctest -j2 --output-on-failure" || sanitized=1

echo "== Tests of the plain build"
plain=0
xvfb-run -a -s "-noreset -screen 0 1024x768x24" sh -c "cd build && ctest -j2 --output-on-failure" || plain=1

echo "== The package: installed, games outside the tree, the .deb"
packaged=0
"$here/tests/package/check-package.sh" "$here/build" || packaged=1

echo "== Fuzzing"
fuzzed=0
"$here/tests/fuzz/run-fuzzers.sh" || fuzzed=1

if [ "$sanitized" -ne 0 ]; then
    echo "== The sanitizer build failed these tests:"
    xvfb-run -a -s "-noreset -screen 0 1024x768x24" sh -c "cd build-asan && env $asan_env ctest --rerun-failed" || true
fi
[ "$sanitized" -eq 0 ] && [ "$plain" -eq 0 ] && [ "$packaged" -eq 0 ] && [ "$fuzzed" -eq 0 ]
