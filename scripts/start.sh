#!/usr/bin/env bash
# Installs what is missing, builds the launcher and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default
cmake --build --preset default --target model-series

# A console page is a stranger's page: its renderer runs in the web engine's
# sandbox, as the user, never as root. Started through sudo (which the
# install step above may need), the launcher runs as the user who called
# sudo, with the sandbox on. Only a plain root login runs it as root, where
# Chromium refuses its sandbox.
if [ "$(id -u)" -eq 0 ]; then
  if [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    user_id=$(id -u "$SUDO_USER")
    user_home=$(getent passwd "$SUDO_USER" | cut -d: -f6)
    runtime=()
    [ -d "/run/user/$user_id" ] && runtime=("XDG_RUNTIME_DIR=/run/user/$user_id")
    exec runuser -u "$SUDO_USER" -- env -u QTWEBENGINE_DISABLE_SANDBOX \
      HOME="$user_home" USER="$SUDO_USER" LOGNAME="$SUDO_USER" "${runtime[@]}" \
      build/model-series "$@"
  fi
  echo "start.sh: running as root, so the web engine's sandbox is off;" \
    "start it as your own user (or through sudo) to keep it on" >&2
  export QTWEBENGINE_DISABLE_SANDBOX=1
fi
exec build/model-series "$@"
