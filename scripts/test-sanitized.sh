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

scripts/install-test-deps.sh
# The preset "asan" of CMakePresets.json: build-asan/, warnings count as errors.
cmake --preset asan
cmake --build --preset asan

# halt_on_error: the first finding ends the process, so a report can never
# scroll past unnoticed in a test that otherwise passes. Leaks are checked at
# exit. Child processes (the simulated mixer, the probes that tests start)
# inherit the same settings.
# new_delete_type_mismatch=0: the prebuilt web engine library (Chromium)
# deletes some of its own objects through a base of another size when a page
# goes; nothing of ours is involved, and the check cannot be suppressed by
# library.
# quarantine_size_mb=16: freed memory waits in the quarantine and counts as
# resident; a small one keeps the memory bounds of the tests about live memory.
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:new_delete_type_mismatch=0:quarantine_size_mb=16:check_initialization_order=1:print_summary=1"
export LSAN_OPTIONS="suppressions=$root/tests/sanitizer/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:print_summary=1:suppressions=$root/tests/sanitizer/ubsan.supp"

ctest --preset asan "$@"
