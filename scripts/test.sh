#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit tests on Qt's offscreen
# platform and the end-to-end tests of the real binary in an Xvfb server started here.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

karuta_install_packages
karuta_build

# The end-to-end tests need a real X server; start one on a free display for this run only.
display=$(karuta_unused_display 90 120) || display=""
[ -n "$display" ] || karuta_fail "no free X display number for Xvfb"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
  [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
kill -0 "$xvfb_pid" 2>/dev/null || karuta_fail "Xvfb did not start on $display"

DISPLAY="$display" ctest --test-dir "$KARUTA_BUILD_DIR" --output-on-failure -j "$(nproc)"
karuta_print_figures "$KARUTA_BUILD_DIR"
