#!/usr/bin/env bash
# Runs every fuzz target for a bounded time, one after the other, each starting from its
# seeds in fuzz/corpus/<target>/ (the seeds are only read; new inputs go to a scratch
# corpus). Usage: scripts/fuzz.sh [SECONDS per target, default 30] [TARGET ...]
# Needs the targets built (scripts/sanitize.sh builds them into build-sanitize/).
# Exits 1 on the first finding; the input that caused it is left in the work folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QNVR_FUZZ_BUILD_DIR:-$root/build-sanitize}
seconds=${1:-30}
shift || true
[ "$seconds" -gt 0 ] || exit 0
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/fuzz/fuzz_*; do targets+=("$(basename "$exe" | sed 's/^fuzz_//')"); done
fi
work=${QNVR_FUZZ_WORK_DIR:-$build/fuzz-work}
# The payer pair target writes its two files for every input: in memory when possible.
[ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for target in "${targets[@]}"; do
  mkdir -p "$work/$target/corpus"
  log="$work/$target/log"
  if ! (cd "$work/$target" && "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
          -timeout=10 -print_final_stats=1 corpus "$root/fuzz/corpus/$target" >"$log" 2>&1); then
    tail -n 60 "$log"
    echo "fuzz_$target: FINDING (see $log and the crash-* file in $work/$target)"
    exit 1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  echo "fuzz_$target: no finding in ${seconds}s, $runs runs"
done
