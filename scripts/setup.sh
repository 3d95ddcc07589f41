#!/usr/bin/env bash
# Shared by play.sh and test.sh: installs the Debian packages that are missing, then configures
# and builds into build/ (or the folder given in KARUTA_BUILD_DIR). Idempotent and quick when
# everything is already in place.
set -euo pipefail

KARUTA_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KARUTA_BUILD_DIR="${KARUTA_BUILD_DIR:-$KARUTA_ROOT/build}"

karuta_packages=(
  cmake ninja-build pkg-config g++ clang libclang-rt-14-dev
  qt6-base-dev libxcb1-dev libspng-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fonts-ipaexfont-mincho xvfb xdotool imagemagick x11-utils
  # sd-bus looks at the desktop's buses; real buses and IBus run the tests of start-up on a
  # desktop.
  libsystemd-dev dbus-daemon dbus-bin dbus-x11 at-spi2-core ibus
  # Qt's Wayland platform, for Wayland sessions without X; weston runs the Wayland tests.
  qt6-wayland weston
)

karuta_fail() {
  echo "karuta: $*" >&2
  exit 1
}

karuta_install_packages() {
  local missing=()
  local p
  for p in "${karuta_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || karuta_fail "need root or sudo to install: ${missing[*]}"
    sudo=(sudo)
  fi
  command -v apt-get >/dev/null || karuta_fail "apt-get not found: this set-up is for Debian 12"
  # A package that would ask a question takes its default answer instead of waiting for one
  # nobody can see. The variable is set by env(1) after sudo, whose env_reset drops the
  # caller's environment. apt's own lines are shown: a first install downloads a few hundred
  # megabytes. On a terminal apt also draws its progress bar; a log gets one line per step.
  local apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get)
  if [ -t 1 ]; then
    apt+=(-o Dpkg::Progress-Fancy=1)
  else
    apt+=(-q)
  fi
  echo "karuta: updating the package lists"
  "${apt[@]}" update </dev/null || karuta_fail "apt-get update failed"
  echo "karuta: installing ${#missing[@]} packages: ${missing[*]}"
  "${apt[@]}" install -y "${missing[@]}" </dev/null || karuta_fail "could not install: ${missing[*]}"
  echo "karuta: the packages are installed"
}

# karuta_build [extra cmake arguments...]
karuta_build() {
  if [ ! -f "$KARUTA_BUILD_DIR/build.ninja" ]; then
    cmake -S "$KARUTA_ROOT" -B "$KARUTA_BUILD_DIR" -G Ninja "$@" >/dev/null \
      || karuta_fail "cmake could not configure the build in $KARUTA_BUILD_DIR"
  fi
  cmake --build "$KARUTA_BUILD_DIR" || karuta_fail "the build failed"
}

# karuta_start_xvfb: starts an X server for this run only and points DISPLAY at it. Xvfb picks
# a display number that no other server holds (-displayfd) and writes it once it accepts
# connections, so that two runs on one machine never meet and nothing waits longer than the
# server takes to start. Fails with the server's last words when it ends before that, and when
# it has not started within 30 s. karuta_stop_xvfb ends it.
# The server keeps running as it is when its last client leaves (-noreset), as a desktop's does:
# left to itself it resets then, and drops a client that connects meanwhile, which a test
# starting karuta just after another one ended would see as a display that cannot be opened.
karuta_start_xvfb() {
  local fd number="" status=0
  KARUTA_XVFB_LOG=$(mktemp)
  exec {fd}< <(exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>&1 \
    >"$KARUTA_XVFB_LOG" 2>&1)
  KARUTA_XVFB_PID=$!
  read -r -t 30 -u "$fd" number || status=$?
  exec {fd}<&-
  if [ -z "$number" ]; then
    local said
    said=$(tail -n 3 "$KARUTA_XVFB_LOG")
    karuta_stop_xvfb
    [ "$status" -gt 128 ] && karuta_fail "Xvfb did not start within 30 s"
    karuta_fail "Xvfb ended before it accepted connections: $said"
  fi
  export DISPLAY=":$number"
  xdpyinfo >/dev/null 2>&1 || karuta_fail "Xvfb started on $DISPLAY, but the display does not answer"
  echo "karuta: Xvfb runs on $DISPLAY"
}

karuta_stop_xvfb() {
  if [ -n "${KARUTA_XVFB_PID:-}" ]; then
    kill "$KARUTA_XVFB_PID" 2>/dev/null || true
  fi
  rm -f "${KARUTA_XVFB_LOG:-}"
}

# ctest shows a passing test's output only in its log; the long-running tests' figures (games
# played, events sent, memory measured) belong in the command's own output too.
karuta_print_figures() {
  grep -hE '^(soak|flood|faults): ' "$1/Testing/Temporary/LastTest.log" 2>/dev/null || true
}
