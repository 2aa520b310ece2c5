#!/usr/bin/env bash
# Builds the core, the report engine, the command-line tool and their tests with clang
# under AddressSanitizer and UndefinedBehaviorSanitizer in a second build tree (no windows),
# together with the fuzz targets, and runs those tests. Then runs each fuzz target for
# a short time (scripts/fuzz.sh). The tree: build-sanitize/ (or $QNVR_SANITIZE_BUILD_DIR).
#   QNVR_FUZZ_SECONDS  seconds per fuzz target (default 30; 0 skips fuzzing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QNVR_SANITIZE_BUILD_DIR:-$root/build-sanitize}
bash "$root/scripts/setup.sh"
# -O1 with line tables: quick to build, fast enough to run, readable sanitizer reports.
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Sanitize \
  -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -gline-tables-only" \
  -DQNVR_NO_WINDOWS=ON -DQNVR_SANITIZE=ON -DQNVR_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd "$build" && ctest --output-on-failure -j "$(nproc)")
QNVR_FUZZ_BUILD_DIR=$build bash "$root/scripts/fuzz.sh" "${QNVR_FUZZ_SECONDS:-30}"
