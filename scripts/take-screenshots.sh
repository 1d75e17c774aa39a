#!/usr/bin/env bash
# Screenshots of the window chrome, taken from the real launcher under Xvfb
# (1920 x 1080) and written to docs/screenshots/:
#   window.png            the window in its normal state, with its margin
#   window-maximised.png  after a double click on the title band
#   loading.png           connecting to a loopback address that never answers
#   loading-failed.png    connecting to a loopback address nobody listens on
# Input goes through XTest (scripts/xpointer.py). Only 127.0.0.0/8 is ever
# contacted, and Search is never pressed.
#
# usage: scripts/take-screenshots.sh [BUILD_DIR]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
if [ -z "${SCREENSHOTS_UNDER_XVFB:-}" ]; then
    exec env SCREENSHOTS_UNDER_XVFB=1 xvfb-run -a -s '-screen 0 1920x1080x24' "$0" "$build"
fi

out=$root/docs/screenshots
pointer="python3 $root/scripts/xpointer.py"
work=$(mktemp -d)
app=""
listener=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
    [ -n "$listener" ] && kill "$listener" 2>/dev/null && wait "$listener" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out"

# Where things are inside the 1024 x 630 window (its frame starts 5 px in).
field=(618 155)
connect=(133 241)
band=(500 20)

start_app() {
    (cd "$build" && QTWEBENGINE_DISABLE_SANDBOX=1 \
        QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-proxy-server" \
        exec ./model-series >>"$work/app.log" 2>&1) &
    app=$!
    read -r window wx wy < <($pointer find 1024 630)
    echo "window opened at ($wx, $wy)"
    sleep 1.5
}

stop_app() {
    kill "$app" && wait "$app" 2>/dev/null || true
    app=""
}

at() { echo $((wx + $1)) $((wy + $2)); }

# The window and its 5-pixel margin, cropped from the whole screen.
shoot() {
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "$2" +repage "$out/$1"
    echo "wrote docs/screenshots/$1"
}

connect_to() {
    # shellcheck disable=SC2046
    $pointer click $(at "${field[@]}")
    $pointer type "$1"
    # shellcheck disable=SC2046
    $pointer click $(at "${connect[@]}")
}

# 1. Normal state.
start_app
shoot window.png "1024x630+$wx+$wy"

# 2. Loading: a listener on 127.0.0.9:80 that accepts and never answers.
python3 -c '
import socket, time
s = socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.9", 80)); s.listen(16)
held = []
while True:
    held.append(s.accept()[0])
' &
listener=$!
sleep 0.3
connect_to 127.0.0.9
sleep 2.2
shoot loading.png "1024x630+$wx+$wy"
stop_app

# 3. Failure: nothing listens on 127.0.0.10, the load fails at once.
start_app
connect_to 127.0.0.10
sleep 3
shoot loading-failed.png "1024x630+$wx+$wy"
stop_app

# 4. Maximised. Xvfb has no window manager, so after the double click asks
# for the maximised state this script does what a manager would: it gives the
# window the whole screen.
start_app
# shellcheck disable=SC2046
$pointer dclick $(at "${band[@]}")
$pointer place "$window" 0 0 1920 1080
sleep 1
shoot window-maximised.png "1920x1080+0+0"
stop_app
