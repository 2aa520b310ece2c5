#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QNVR_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
bash "$root/scripts/start-cups.sh"  # the print server and PDF printer the print tests use
(cd "$build" && ctest --output-on-failure -j "$(nproc)" "$@")
# The toolkit-free parts again under the sanitizers, and each fuzz target for a while.
bash "$root/scripts/sanitize.sh"
