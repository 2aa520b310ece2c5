#!/usr/bin/env bash
# Starts the print server the tests print through and gives it a PDF printer: Debian's
# cups with printer-driver-cups-pdf. Every job sent to the printer is written as a PDF
# into its output folder. A second printer, QNVR_TRAYS, has a driver with paper sources;
# it takes no jobs and is there to be listed. Harmless when the server already runs or
# the printers exist.
#
#   QNVR_TEST_PRINTER   the PDF printer's name (default QNVR_PDF)
#   output folder       /var/spool/cups-pdf/<printer>/
set -euo pipefail

printer=${QNVR_TEST_PRINTER:-QNVR_PDF}
outdir=/var/spool/cups-pdf/$printer
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi

running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

if ! running; then
  $SUDO mkdir -p /run/cups
  $SUDO cupsd
  for _ in $(seq 50); do running && break; sleep 0.2; done
  running || { echo "start-cups: the print server did not start" >&2; exit 1; }
fi

# The printer's own settings: one output folder for every user's jobs, each file named
# with its job number, so a test finds the PDF of the job it sent.
conf=/etc/cups/cups-pdf-$printer.conf
if [ ! -f "$conf" ]; then
  $SUDO tee "$conf" >/dev/null <<CONF
Out $outdir
AnonDirName $outdir
Label 2
Grp lpadmin
CONF
fi
$SUDO mkdir -p "$outdir"
$SUDO chmod 1777 "$outdir"

# The device names the printer, so that the PDF printer reads the settings above.
if ! lpstat -p "$printer" >/dev/null 2>&1; then
  $SUDO lpadmin -p "$printer" -E -v "cups-pdf:/$printer" -P "$ppd" -D "Quenvora test PDF printer" 2>/dev/null
fi
$SUDO lpadmin -p "$printer" -v "cups-pdf:/$printer"
$SUDO cupsenable "$printer"
$SUDO cupsaccept "$printer"

if ! lpstat -p QNVR_TRAYS >/dev/null 2>&1; then
  $SUDO lpadmin -p QNVR_TRAYS -v "cups-pdf:/$printer" -m drv:///sample.drv/laserjet.ppd \
    -D "Quenvora test printer with paper trays" 2>/dev/null
fi
echo "start-cups: printer $printer ready, jobs in $outdir"
