#!/bin/sh
# Builds every fuzz target (tests/fuzz/targets/*Fuzz.cpp) with clang, AddressSanitizer,
# UndefinedBehaviorSanitizer and libFuzzer in build-fuzz/, then runs each for a bounded time on
# its seeds (tests/fuzz/corpus/<Name>/, left unchanged), two at a time. Fails when any target
# crashes, leaks, takes longer than the timeout on one input, or passes a memory limit.
#   TARVOKE_FUZZ_SECONDS  seconds each target runs (default 6, which keeps ./test.sh within its time budget)
#   TARVOKE_FUZZ_ONLY     run only the targets whose names match this grep pattern
set -eu
here=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${TARVOKE_FUZZ_SECONDS:-6}
malloc_limit_mb=512   # a single allocation past this is a fault (a 2 GiB one fails at once)
rss_limit_mb=1536     # the whole process
input_timeout=10      # seconds for one input
build="$here/build-fuzz"
runs="$build/fuzz-runs"

# One target: "run-fuzzers.sh --one NAME" (used by the parallel runs below).
if [ "${1:-}" = "--one" ]; then
    name=$2
    work="$runs/$name"
    mkdir -p "$work/found"
    seeds="$here/tests/fuzz/corpus/$name"
    [ -d "$seeds" ] || seeds=""
    # The new inputs libFuzzer keeps go to found/; the committed seeds are only read.
    status=0
    # shellcheck disable=SC2086
    (cd "$work" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "$build/tests/fuzz/${name}Fuzz" -max_total_time="$seconds" -timeout="$input_timeout" \
        -rss_limit_mb="$rss_limit_mb" -malloc_limit_mb="$malloc_limit_mb" -close_fd_mask=1 \
        -artifact_prefix="$work/" -print_final_stats=1 found $seeds >"$work/log" 2>&1) || status=$?
    echo "$status" >"$work/status"
    exit 0
fi

CC=clang-14 CXX=clang++-14 cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVOKE_FUZZ=ON \
    -DTARVOKE_TESTS=OFF -DTARVOKE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target tarvoke_fuzz_targets
rm -rf "$runs"
mkdir -p "$runs"
names=$(cd "$here/tests/fuzz/targets" && ls -- *Fuzz.cpp | sed 's/Fuzz\.cpp$//' | grep -E "${TARVOKE_FUZZ_ONLY:-.}")
started=$(date +%s)
echo "$names" | xargs -P 2 -I NAME "$0" --one NAME || true

failed=0
printf '%-16s %10s %8s %8s  %s\n' target runs coverage features result
for name in $names; do
    log="$runs/$name/log"
    status=$(cat "$runs/$name/status" 2>/dev/null || echo 1)
    runs_done=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    features=$(grep -o 'ft: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
    result=passed
    if [ "$status" -ne 0 ]; then result=FAILED; failed=1; fi
    printf '%-16s %10s %8s %8s  %s\n' "$name" "${runs_done:-?}" "${coverage:-?}" "${features:-?}" "$result"
done
echo "fuzzing took $(($(date +%s) - started)) s for the runs ($seconds s a target)"
if [ "$failed" -ne 0 ]; then
    for name in $names; do
        [ "$(cat "$runs/$name/status" 2>/dev/null || echo 1)" -eq 0 ] && continue
        echo "== $name failed; the end of $runs/$name/log (the input is saved beside it):"
        tail -n 40 "$runs/$name/log"
    done
fi
exit "$failed"
