#!/usr/bin/env bash
# Builds the whole tree with AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/ and runs the whole test suite there. Any sanitizer report
# fails the test that triggered it. Leak reports that come from libraries
# outside this project are suppressed by tests/sanitizer/lsan.supp (each entry
# says why); nothing of our own code may be listed there.
#
#   scripts/test-sanitized.sh [ctest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=build-asan

scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=ON
cmake --build "$build"

# halt_on_error: the first finding ends the process, so a report can never
# scroll past unnoticed in a test that otherwise passes. Leaks are checked at
# exit. Child processes (the simulated mixer, the probes that tests start)
# inherit the same settings.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=0:strict_string_checks=0:check_initialization_order=1:print_summary=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:print_summary=1:suppressions=$root/tests/sanitizer/ubsan.supp"

cd "$build"
ctest --output-on-failure --timeout 900 "$@"
