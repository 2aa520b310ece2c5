#!/usr/bin/env bash
# Installs every Debian package the project builds, runs and tests with.
# Idempotent: asks dpkg what is missing and only then runs apt-get. Quiet when all is present.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # libraries
  qt6-base-dev qt6-base-dev-tools libgl-dev libpcre2-dev libhpdf-dev libcups2-dev nlohmann-json3-dev zlib1g-dev libcsv-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # running a test as an unprivileged user (setpriv), and reading what a program links (readelf)
  util-linux binutils
  # the second build tree: sanitizers and libFuzzer (scripts/sanitize.sh)
  clang libclang-rt-14-dev
  # running the desktop program and its tests without a screen
  xvfb xauth openbox xdotool fonts-dejavu-core
  # the desktop program on an X server, and its end-to-end test read through the accessibility bus
  qt6-qpa-plugins dbus-daemon at-spi2-core python3-pyatspi gir1.2-atspi-2.0
  # the preview draws "Arial" with a face of the same metrics
  fonts-liberation2
  # checking printed output: PDF text with positions, a real print server with a PDF printer
  poppler-utils cups cups-client cups-bsd printer-driver-cups-pdf
  # checking the HTML export in a real browser: it prints each page to PDF headless
  chromium
  # the web update's signature and hash checks
  libssl-dev
  # installing and packaging: the desktop entry, AppStream and file type checks, the .deb
  desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl dpkg-dev file man-db
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$p")
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
