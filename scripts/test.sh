#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite.
# The tests that search run in network namespaces of their own, which needs
# root (as CI has); everything else runs on loopback addresses.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-test-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
cd build
ctest --output-on-failure --timeout 600 "$@"
