#!/usr/bin/env bash
# Renders the demo panel on a virtual X screen and saves it as
# docs/screenshots/demo.png. Needs a build of tst_demo in build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/docs/screenshots/demo.png}"
mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=xcb DEMO_SCREENSHOT="$out" \
    xvfb-run -a -s '-screen 0 1920x1080x24' "$root/build/tests/tst_demo" connectDemo
echo "saved $out"
