#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# --sanitize runs the whole suite in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/deps.sh
bash tools/build.sh "$@"

dir=build
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
  export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
