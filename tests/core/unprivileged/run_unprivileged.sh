#!/usr/bin/env bash
# Runs tests of a GoogleTest program as an unprivileged user and fails unless every one
# of them ran and passed: a test that checks a refused write skips under the superuser,
# who may write any file, and CI runs as root. As root the program is copied to a
# temporary folder and run as "nobody" with a temporary folder of its own; otherwise it
# runs as the calling user.
# Usage: run_unprivileged.sh PROGRAM GTEST_FILTER
set -euo pipefail
program=$1
filter=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir "$work/tmp"
if [ "$(id -u)" -eq 0 ]; then
  cp "$program" "$work/"
  chmod 755 "$work/$(basename "$program")"
  chown nobody:nogroup "$work/tmp"
  run=(setpriv --reuid=nobody --regid=nogroup --clear-groups --
       env HOME="$work/tmp" TMPDIR="$work/tmp" "$work/$(basename "$program")")
else
  run=(env TMPDIR="$work/tmp" "$program")
fi
status=0
output=$(cd "$work" && "${run[@]}" --gtest_filter="$filter" 2>&1) || status=$?
echo "$output"
[ "$status" -eq 0 ] || { echo "run_unprivileged: the tests failed (status $status)"; exit 1; }
if grep -q '^\[  SKIPPED \]' <<<"$output"; then
  echo "run_unprivileged: a test was skipped: it must run, as an unprivileged user"
  exit 1
fi
grep -q '^\[  PASSED  \] [1-9]' <<<"$output" || { echo "run_unprivileged: no test matched $filter"; exit 1; }
