#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on
# a copy of its seed corpus (fuzz/corpus/<target>). Fails on any crash, leak,
# hang or out-of-memory. Usage: scripts/fuzz.sh [seconds per target] [target...]
# The seed is fixed (CRICKLET_FUZZ_SEED, default 1) so that a run can be
# repeated exactly; CRICKLET_FUZZ_SEED=0 lets libFuzzer pick a new one.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
seed=${CRICKLET_FUZZ_SEED:-1}
shift || true
build_dir=${CRICKLET_FUZZ_BUILD_DIR:-build-fuzz}

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCRICKLET_FUZZ=ON -DCRICKLET_GUI=OFF -DCRICKLET_BENCH=OFF >/dev/null
cmake --build "$build_dir" --target fuzz_targets

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    for program in "$build_dir"/fuzz/fuzz_*; do
        [ -x "$program" ] && targets+=("$(basename "$program")")
    done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"
status=0
for target in "${targets[@]}"; do
    corpus="$work/$target"
    mkdir -p "$corpus" "$work/artifacts"
    [ -d "fuzz/corpus/$target" ] && cp -r "fuzz/corpus/$target/." "$corpus/"
    log="$work/$target.log"
    if "$build_dir/fuzz/$target" -seed="$seed" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" \
        "$corpus" >"$log" 2>&1; then
        runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
        cov=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | grep -o '[0-9]*' || true)
        echo "fuzz: $target passed: ${runs:-?} runs in ${seconds} s, ${cov:-?} edges covered"
    else
        status=1
        echo "fuzz: $target FAILED"
        tail -n 60 "$log"
        for artifact in "$work/artifacts/$target-"*; do
            [ -f "$artifact" ] && { echo "input ($artifact):"; head -c 2048 "$artifact" | od -c | head -n 40; }
        done
    fi
done
exit $status
