#!/usr/bin/env bash
# Sets up, builds and starts the desktop program; arguments go to the program (a
# payer file to open). Needs a desktop session (an X or Wayland display).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QNVR_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Built $build/bin/quenvora-w2. No desktop session to show it on (DISPLAY is not set);"
  echo "start it from a desktop session, or without a screen: xvfb-run -a scripts/run.sh"
  exit 1
fi
exec "$build/bin/quenvora-w2" "$@"
