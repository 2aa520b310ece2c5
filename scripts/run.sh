#!/usr/bin/env bash
# Sets up, builds and starts the desktop program; arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QNVR_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
program="$build/bin/quenvora-w2"
if [ ! -x "$program" ]; then
  echo "Built everything; the desktop program is not part of this build yet."
  exit 0
fi
exec "$program" "$@"
