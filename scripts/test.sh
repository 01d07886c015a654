#!/usr/bin/env bash
# Sets everything up, then runs every test: once in the normal build and once
# more in a build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 600
scripts/package.sh

# Every reader under libFuzzer for a bounded time (about 30 s each).
scripts/fuzz.sh 30

CRICKLET_BUILD_DIR=build-asan scripts/setup.sh -DCRICKLET_SANITIZE=ON -DCRICKLET_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure --timeout 900
