#!/usr/bin/env bash
# Runs one command on an X server of its own (Xvfb) under a real window
# manager (openbox), so that window states, work areas and placement are the
# window system's, and removes both again on any exit.
#
#   run-under-wm.sh [options] [--] COMMAND [ARGS...]
#
#   --screen WxH      the screen in device pixels (default 1366x768)
#   --scale FACTOR    QT_SCALE_FACTOR for the command (default 1)
#   --top-panel N     N pixels along the top kept free by the window manager,
#                     as a panel or task bar there would (default 0)
#
# The command runs with DISPLAY set and QT_QPA_PLATFORM=xcb. Exits 77 when
# Xvfb, openbox or wmctrl is missing.
set -euo pipefail

screen=1366x768
scale=1
top_panel=0
while [ $# -gt 0 ]; do
    case $1 in
        --screen) screen=$2; shift 2 ;;
        --scale) scale=$2; shift 2 ;;
        --top-panel) top_panel=$2; shift 2 ;;
        --) shift; break ;;
        *) break ;;
    esac
done
[ $# -gt 0 ] || { echo "usage: $0 [options] [--] COMMAND [ARGS...]" >&2; exit 2; }

for tool in Xvfb openbox wmctrl; do
    command -v "$tool" >/dev/null || { echo "run-under-wm: $tool is missing" >&2; exit 77; }
done

work=$(mktemp -d)
xvfb=""
wm=""
cleanup() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null && wait "$wm" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display number and writes it to descriptor 3.
Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; exit 1; }
DISPLAY=":$(cat "$work/display")"
export DISPLAY

cat >"$work/rc.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <margins><top>$top_panel</top><bottom>0</bottom><left>0</left><right>0</right></margins>
</openbox_config>
XML
# The display number can be written before the server takes connections: a
# window manager that could not connect has ended and is started again.
for _ in $(seq 100); do
    if [ -z "$wm" ] || ! kill -0 "$wm" 2>/dev/null; then
        openbox --sm-disable --config-file "$work/rc.xml" >>"$work/openbox.log" 2>&1 &
        wm=$!
    fi
    wmctrl -m >/dev/null 2>&1 && break
    sleep 0.1
done
wmctrl -m >/dev/null 2>&1 || { cat "$work/xvfb.log" "$work/openbox.log" >&2; exit 1; }

status=0
QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale "$@" || status=$?
exit "$status"
