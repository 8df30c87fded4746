#!/usr/bin/env bash
# Installs what is missing, builds Quillor and runs every test with ctest.
#   scripts/test.sh             the ordinary build, in build/
#   scripts/test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build_dir=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
    build_dir=build-sanitize
    options=(-DCMAKE_BUILD_TYPE=Debug -DQUILLOR_SANITIZE=ON -DQUILLOR_BUILD_BENCHMARKS=OFF)
    export ASAN_OPTIONS=detect_leaks=0:abort_on_error=0
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
jobs=$(nproc)
cmake -S . -B "$build_dir" -G Ninja "${options[@]}"
cmake --build "$build_dir" --parallel "$jobs"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$jobs" --timeout 300
