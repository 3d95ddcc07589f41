#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit tests on Qt's offscreen
# platform and the end-to-end tests of the real binary in an Xvfb server started here. Arguments
# go to ctest: scripts/test.sh -L e2e runs the end-to-end tests alone.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

karuta_install_packages
karuta_build

# The end-to-end tests need a real X server.
trap karuta_stop_xvfb EXIT
karuta_start_xvfb

# The figures of the tests that ran are shown also when some failed; the status is ctest's.
status=0
ctest --test-dir "$KARUTA_BUILD_DIR" --output-on-failure -j "$(nproc)" "$@" || status=$?
karuta_print_figures "$KARUTA_BUILD_DIR"
exit "$status"
