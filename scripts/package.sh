#!/usr/bin/env bash
# Sets up and builds the program, makes its .deb (build/package/) and installs it with
# apt, which brings in the libraries the package depends on. Afterwards quenvora-w2 is in
# the desktop's menu, payer files open in it, and quenvora-w2 and qnvr are on the PATH.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QNVR_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
rm -rf "$build/package"
cpack --config "$build/CPackConfig.cmake" -B "$build/package" >/dev/null
deb=$(ls "$build"/package/quenvora-w2_*.deb)
echo "Built $deb"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "$deb" >/dev/null
echo "Installed quenvora-w2 (program folder /usr/lib/quenvora-w2/2026/)"
