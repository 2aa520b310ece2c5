#!/usr/bin/env bash
# Starts the desktop program under a real X server (Xvfb) with a window manager
# (openbox) and an accessibility bus, and runs e2e.py against it.
#   run_e2e.sh PROGRAM SCENARIO WIDTHxHEIGHT
set -euo pipefail
program=$(realpath "$1")
scenario=$2
screen=$3
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A fresh user: nothing of the machine's own settings or documents is touched.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$(head -n1 "$work/display")

# Python of the system: pyatspi comes from Debian's python3-pyatspi.
dbus-run-session -- bash -c '
    openbox >/dev/null 2>&1 &
    wm=$!
    /usr/bin/python3 "$0" "$1" "$2"
    status=$?
    kill $wm 2>/dev/null
    exit $status' "$here/e2e.py" "$program" "$scenario"
