#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-sanitize/ (the "sanitize" preset) and runs every unit test there with leak detection
# on. The first report of any sanitizer ends its test with a failure, and the first failing test
# ends the run.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

karuta_install_packages
cd "$KARUTA_ROOT"

# The build runs instrumented programs too (the card-picture generator, the test discovery), so
# they get the same options and suppressions as the tests.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$KARUTA_ROOT/tests/sanitizer/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen

if [ ! -f build-sanitize/build.ninja ]; then
  cmake --preset sanitize >/dev/null || karuta_fail "cmake could not configure build-sanitize"
fi
cmake --build --preset sanitize || karuta_fail "the sanitizer build failed"
ctest --preset sanitize -L unit --stop-on-failure -j "$(nproc)"
karuta_print_figures build-sanitize
