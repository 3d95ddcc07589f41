#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  karuta_fail "no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)"
fi
karuta_install_packages
karuta_build
exec "$KARUTA_BUILD_DIR/app/karuta"
