#!/usr/bin/env bash
# Installs what building and running need (scripts/install-deps.sh) and, on
# top, the Debian 12 packages that the tests and the developer tools use.
set -euo pipefail
here=$(dirname "$0")

packages=(
  # The tests that search build network namespaces (tools/test-lan/run-in-lan.sh);
  # so do the try-out script and the benchmarks.
  iproute2
  # A virtual display for the screenshot scripts and the benchmarks.
  xvfb xauth
  # Screenshots (import, convert), pictures (scripts/draw-images.sh) and the
  # SVG icon's renderer.
  imagemagick librsvg2-bin
  # Pointer input for scripts/take-screenshots.sh (python3 with libXtst),
  # window lookup and clicks for the try-out script's screenshot; python3
  # also drives the benchmarks.
  python3 libxtst6 xdotool
  # The layout check of the C++ files (scripts/check-format.sh, the CTest
  # entry "format"): the version whose output the tree follows.
  clang-format-14
  # A real window manager and its remote control for the window tests
  # (tools/test-wm/run-under-wm.sh), on the virtual display above.
  openbox wmctrl
  # A real Wayland compositor for the window tests
  # (tools/test-wm/run-under-wayland.sh): sway on its headless backend, wayvnc
  # for a virtual pointer driven over VNC on loopback, grim for screenshots.
  sway wayvnc grim
  # The accessibility test (tests/wm/atspi-walk.py): the accessibility bus
  # and its registry, and the Python client that walks the launcher's tree
  # the way a screen reader does, in a session bus of the test's own.
  at-spi2-core python3-pyatspi dbus
  # The libFuzzer targets (scripts/run-fuzzers.sh). The sanitizer build needs
  # nothing more than g++.
  clang-14 libclang-rt-14-dev
)

"$here/install-deps.sh"
"$here/install-packages.sh" "${packages[@]}"
