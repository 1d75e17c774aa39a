#!/usr/bin/env bash
# Installs what is missing, builds the launcher and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default
cmake --build --preset default --target model-series

# Chromium refuses its sandbox when run as root (containers, CI machines).
if [ "$(id -u)" -eq 0 ]; then
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/model-series "$@"
