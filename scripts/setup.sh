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

# karuta_unused_display FIRST LAST: prints the first X display number from FIRST to LAST that no
# server holds (":N"); fails when every one is taken.
karuta_unused_display() {
  local n
  for n in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      echo ":$n"
      return 0
    fi
  done
  return 1
}

# ctest shows a passing test's output only in its log; the long-running tests' figures (games
# played, events sent, memory measured) belong in the command's own output too.
karuta_print_figures() {
  grep -hE '^(soak|flood|faults): ' "$1/Testing/Temporary/LastTest.log" 2>/dev/null || true
}
