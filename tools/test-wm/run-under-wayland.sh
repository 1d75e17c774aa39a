#!/usr/bin/env bash
# Runs one command beside a Wayland compositor of its own (sway on its
# headless backend, every window floating) with a virtual pointer that wayvnc
# serves on a loopback port, and removes both again on any exit.
#
#   run-under-wayland.sh [--screen WxH] [--] COMMAND [ARGS...]
#
# sway refuses to run as root: as root, sway and wayvnc run as the
# unprivileged user launcher-test (created when missing), with a runtime
# folder of mode 0700 of that user's own. The command runs as the caller,
# with these set:
#
#   XDG_RUNTIME_DIR, WAYLAND_DISPLAY, SWAYSOCK   the compositor's session
#   QT_QPA_PLATFORM=wayland
#   WAYLAND_TEST_USER     the user that sway runs as (a client that runs as
#                         root should become it: the session is that user's)
#   WAYLAND_TEST_VNC_PORT the loopback port of the virtual pointer
#                         (tools/test-wm/rfb-pointer.py drives it)
#
# Exits 77 when sway, wayvnc, swaymsg, grim or Qt's Wayland platform is
# missing.
set -euo pipefail

screen=1920x1080
while [ $# -gt 0 ]; do
    case $1 in
        --screen) screen=$2; shift 2 ;;
        --) shift; break ;;
        *) break ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--screen WxH] [--] COMMAND [ARGS...]" >&2; exit 2; }

for tool in sway wayvnc swaymsg grim setpriv python3; do
    command -v "$tool" >/dev/null || { echo "run-under-wayland: $tool is missing" >&2; exit 77; }
done
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || true)
[ -e "$plugins/platforms/libqwayland-generic.so" ] ||
    { echo "run-under-wayland: Qt's Wayland platform (qt6-wayland) is missing" >&2; exit 77; }

user=$(id -un)
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    user=launcher-test
    id -u "$user" >/dev/null 2>&1 ||
        useradd --system --user-group --no-create-home --shell /usr/sbin/nologin "$user" ||
        id -u "$user" >/dev/null  # made meanwhile by a run beside this one
    as_user=(setpriv --reuid="$user" --regid="$user" --clear-groups --)
fi

runtime=$(mktemp -d /tmp/wayland-test-XXXXXX)
chown "$user:" "$runtime"
chmod 0700 "$runtime"
sway_pid=""
vnc_pid=""
cleanup() {
    for pid in $vnc_pid $sway_pid; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    rm -rf "$runtime"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Every window floats where it asks to be, without borders, so that a
# window's rectangle in the tree is the client's own.
cat >"$runtime/config" <<CONFIG
output HEADLESS-1 mode --custom $screen position 0 0
default_border none
default_floating_border none
for_window [app_id=".*"] floating enable
focus_follows_mouse no
CONFIG
chown "$user:" "$runtime/config"

session=(env -u DISPLAY -u WAYLAND_DISPLAY HOME="$runtime" XDG_RUNTIME_DIR="$runtime")
setsid "${as_user[@]}" "${session[@]}" WLR_BACKENDS=headless WLR_RENDERER=pixman \
    WLR_LIBINPUT_NO_DEVICES=1 sway --config "$runtime/config" >"$runtime/sway.log" 2>&1 &
sway_pid=$!
for _ in $(seq 100); do
    SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n 1 || true)
    display=$(cd "$runtime" && ls wayland-? 2>/dev/null | head -n 1 || true)
    [ -n "$SWAYSOCK" ] && [ -n "$display" ] && break
    kill -0 "$sway_pid" 2>/dev/null || break
    sleep 0.1
done
[ -n "$SWAYSOCK" ] && [ -n "$display" ] || { cat "$runtime/sway.log" >&2; exit 1; }

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
setsid "${as_user[@]}" "${session[@]}" WAYLAND_DISPLAY="$display" \
    wayvnc --output=HEADLESS-1 127.0.0.1 "$port" >"$runtime/wayvnc.log" 2>&1 &
vnc_pid=$!
for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    kill -0 "$vnc_pid" 2>/dev/null || break
    sleep 0.1
done
(exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null ||
    { cat "$runtime/sway.log" "$runtime/wayvnc.log" >&2; exit 1; }

status=0
env -u DISPLAY XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$display" SWAYSOCK="$SWAYSOCK" \
    QT_QPA_PLATFORM=wayland WAYLAND_TEST_USER="$user" WAYLAND_TEST_VNC_PORT="$port" \
    "$@" || status=$?
[ "$status" -eq 0 ] || cat "$runtime/sway.log" "$runtime/wayvnc.log" >&2
exit "$status"
