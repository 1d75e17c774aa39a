#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# The tests that search run in network namespaces of their own, which needs
# root (as CI has); everything else runs on loopback addresses.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-test-deps.sh
# The presets of CMakePresets.json: build/, warnings count as errors.
cmake --preset default
cmake --build --preset default
ctest --preset default "$@"
