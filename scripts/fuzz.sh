#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz as libFuzzer programs (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer over the whole core) in build-fuzz, then runs them one after another, each
# from its seed corpus for SECONDS (default 60) or until it has run RUNS inputs, whichever comes first.
# Prints per target the runs, the executions per second and the findings (crash, leak, timeout, out of
# memory, sanitizer report); the inputs of findings are kept in build-fuzz/findings/<target>, the new
# inputs a run found in build-fuzz/corpus/<target>. Exit status 1 when anything was found.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]      (targets by corpus name, e.g. macro_file; default all)
#   FUZZ_RUNS=N   stop each target after N runs (default 10000000)
#   FUZZ_JOBS=N   build jobs (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
runs=${FUZZ_RUNS:-10000000}
build=build-fuzz

# clang and its sanitizer and fuzzer runtimes.
if ! command -v clang++ >/dev/null || ! ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a \
    >/dev/null 2>&1; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq clang libclang-rt-14-dev
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for dir in tests/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARLIX_FUZZ=ON -DMARLIX_BUILD_GUI=OFF \
    -DMARLIX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"${FUZZ_JOBS:-2}" --target "${targets[@]/#/fuzz_}" >/dev/null

# Longest input per target: enough for several frames, blocks or lines, short enough to stay fast.
max_len() {
    case "$1" in
    source_download | reply_tracker | request_wire | source_words) echo 512 ;;
    block_receiver) echo 1100 ;;
    *) echo 1024 ;;
    esac
}

# A smaller quarantine of freed memory than the default 256 MB: a use after free within an input is
# still caught, and the targets run about half as fast again.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:quarantine_size_mb=32
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
printf '%-18s %12s %10s  %s\n' target runs exec/s findings
for t in "${targets[@]}"; do
    mkdir -p "$build/corpus/$t" "$build/findings/$t"
    log="$build/findings/$t.log"
    before=$(ls "$build/findings/$t" | wc -l)
    set +e
    "$build/tests/fuzz/fuzz_$t" "$build/corpus/$t" "tests/fuzz/corpus/$t" -runs="$runs" \
        -max_total_time="$seconds" -max_len="$(max_len "$t")" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$t/" >"$log" 2>&1
    code=$?
    set -e
    done_runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    found=$(($(ls "$build/findings/$t" | wc -l) - before))
    what=none
    if [ "$code" -ne 0 ] || [ "$found" -ne 0 ]; then
        status=1
        what="$found ($(grep -m1 -oE 'ERROR: [A-Za-z]+: [^ ]+|invariant broken: .*|runtime error: .*|deadly signal' \
            "$log" || echo "exit status $code")); see $log"
    fi
    printf '%-18s %12s %10s  %s\n' "$t" "${done_runs:-?}" "${rate:-?}" "$what"
done
exit "$status"
