#!/usr/bin/env bash
# Rewrites the golden pages (tests/golden/*.txt) from the print jobs as they now draw,
# after an intended change to a design, a font metric or a job. Review the change with
# `git diff tests/golden/` before committing it. Builds the forms tests first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QNVR_BUILD_DIR:-$root/build}
if [ ! -f "$build/build.ninja" ]; then bash "$root/scripts/build.sh"; fi
cmake --build "$build" --target qnvr_forms_tests
QNVR_REFRESH_GOLDEN=1 "$build/tests/qnvr_forms_tests" --gtest_filter='GoldenPagesTest.*'
git -C "$root" diff --stat -- tests/golden/ || true
