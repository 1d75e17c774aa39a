#!/usr/bin/env bash
# Try the launcher without hardware: builds a private LAN of network
# namespaces on this machine, starts five simulated mixers in it (answering a
# search in each of the three ways a mixer may) and the launcher beside them.
# Press Search and they are listed; pick one and Connect to see its console.
# Searching broadcasts, and here it stays inside the private LAN. Everything
# is removed again when the launcher closes (or the script is interrupted).
#
# Needs root (network namespaces); keep your display when you use sudo:
#   sudo -E scripts/try-with-simulated-mixers.sh
#
# With --screenshot FILE it runs headless instead: the launcher under Xvfb,
# Search pressed with xdotool, the window saved to FILE after a few seconds.
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."

screenshot=""
if [[ ${1:-} == --screenshot ]]; then
    screenshot=$(realpath -m "${2:?--screenshot needs a file name}")
fi
if [[ $(id -u) -ne 0 ]]; then
    echo "needs root for its network namespaces: sudo -E $0 $*" >&2
    exit 1
fi

scripts/install-test-deps.sh
if [[ ! -x build/model-series || ! -x build/tools/mixer-sim/mixer-sim ]]; then
    [[ -f build/CMakeCache.txt ]] ||
        cmake --preset default
    cmake --build --preset default --target model-series mixer-sim
fi
sim=$PWD/build/tools/mixer-sim/mixer-sim
launcher=$PWD/build/model-series

LAN_SOURCE_ONLY=1 source tools/test-lan/run-in-lan.sh
workdir=$(mktemp -d)
cleanup() {
    lan_destroy
    rm -rf "$workdir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

lan_remove_stale
lan_create 10.77.0.2 "" 10.77.0.9,10.77.0.10 10.77.0.20,10.77.0.21 10.77.0.30
read -r -a namespaces <<<"$LAN_MIXER_NS"

# start_sim NAMESPACE ARGS...: runs mixer-sim there and waits until it listens.
start_sim() {
    local ns=$1 log="$workdir/sim-$1.log"
    shift
    ip netns exec "$ns" "$sim" "$@" >"$log" 2>&1 &
    for _ in $(seq 100); do
        grep -q "mixer-sim ready" "$log" && return 0
        sleep 0.1
    done
    echo "mixer-sim in $ns did not start:" >&2
    cat "$log" >&2
    return 1
}
start_sim "${namespaces[0]}" --address 10.77.0.9 --address 10.77.0.10 \
    --answer marker-broadcast --name "Front of House %n" --model "MS-32"
start_sim "${namespaces[1]}" --address 10.77.0.20 --address 10.77.0.21 \
    --answer marker-unicast --name "Monitor Desk %n" --model "MS-24"
start_sim "${namespaces[2]}" --address 10.77.0.30 \
    --answer announce --name "Studio Rack" --model "MS-16"

export QTWEBENGINE_DISABLE_SANDBOX=1  # the web engine refuses its sandbox as root
export HOME=${HOME:-/root}

if [[ -z $screenshot ]]; then
    echo "Launcher at 10.77.0.2; mixers at 10.77.0.9, .10, .20, .21 and .30. Press Search."
    lan_exec "$launcher"
    exit 0
fi

# Headless: the launcher in its own Xvfb, a click on Search, a picture.
cat >"$workdir/shoot.sh" <<'EOF'
set -euo pipefail
launcher=$1 out=$2
"$launcher" &
app=$!
trap 'kill $app 2>/dev/null || true' EXIT
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$app" | head -n 1)
sleep 2  # let the first frame settle
eval "$(xdotool getwindowgeometry --shell "$window")"
# The Search button sits in the control column at the left of the page,
# under the "Connection" tab: about 12 % across and 21 % down the window.
xdotool mousemove --sync $((X + WIDTH * 12 / 100)) $((Y + HEIGHT * 21 / 100)) click 1
sleep 3
import -window "$window" "$out"
EOF
lan_exec xvfb-run -a -s '-screen 0 1100x700x24' bash "$workdir/shoot.sh" "$launcher" "$screenshot"
echo "saved $screenshot"
