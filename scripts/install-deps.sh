#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build and run the launcher (and
# the simulated mixer, which the build includes). What only the tests and the
# developer tools need is in scripts/install-test-deps.sh.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools
  qt6-webview-dev qt6-declarative-dev qt6-declarative-dev-tools
  qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  # QHttpServer for the simulated mixer; its CMake package needs WebSockets.
  qt6-httpserver-dev qt6-websockets-dev
  # qmlcachegen, which compiles the QML document ahead of time.
  qt6-declarative-private-dev
  # The QML modules that the web view document imports, loaded at run time.
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-layouts
  qml6-module-qtquick-templates qml6-module-qtquick-window
  qml6-module-qtqml-workerscript qml6-module-qtwebview qml6-module-qtwebengine
  libgl-dev libglx-dev libvulkan-dev
  # A CJK font, so the Chinese interface texts render on a bare machine.
  fonts-wqy-microhei
  # Qt's Wayland platform: on a Wayland session the launcher runs natively,
  # and only there can the compositor move and resize its frameless window.
  qt6-wayland
)

"$(dirname "$0")/install-packages.sh" "${packages[@]}"
