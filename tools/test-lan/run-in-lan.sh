#!/usr/bin/env bash
# Builds a small private LAN out of network namespaces, runs one command in the
# launcher's namespace and tears everything down again, also on failure or
# interruption. Searching sends broadcasts and multicasts: this keeps them
# inside a network of our own. Needs root and iproute2.
#
#   run-in-lan.sh [options] [--] COMMAND [ARGS...]
#
#   --launcher ADDRS       the launcher's addresses on its "eth0" (default 10.77.0.2)
#   --launcher-if NAME=ADDRS
#                          one more interface of the launcher, on the same bridge
#                          (repeatable; e.g. an adapter whose name excludes it)
#   --mixer ADDRS          one mixer namespace with these addresses (repeatable;
#                          default one namespace with 10.77.0.10)
#
# ADDRS is a comma-separated list of A or A/PREFIX; the prefix defaults to 24
# and every address with a prefix below 31 gets its subnet broadcast address.
#
# The command sees:
#   LAN_LAUNCHER_NS        the launcher's namespace (the command runs in it)
#   LAN_LAUNCHER_ADDRESSES the launcher's addresses, comma-separated, no prefixes
#   LAN_MIXER_NS           the mixer namespaces, space-separated
#   LAN_MIXER_ADDRESSES    their addresses: ';' between namespaces, ',' within
#
# The command is ended after LAN_TIMEOUT seconds (default 240).
#
# Names carry this script's process id, so runs never clash. Source it with
# LAN_SOURCE_ONLY=1 to get lan_create / lan_destroy / lan_exec for a script of
# your own (scripts/try-with-simulated-mixers.sh does).
set -euo pipefail
shopt -s inherit_errexit

lan_id="ms$$"
LAN_BRIDGE_NS="${lan_id}-br"
LAN_LAUNCHER_NS="${lan_id}-l"
LAN_MIXER_NS=""
LAN_MIXER_ADDRESSES=""
LAN_LAUNCHER_ADDRESSES=""
lan_namespaces=()

lan_log() { echo "run-in-lan: $*" >&2; }

# Adds ADDRS (see above) to interface $2 in namespace $1 and prints the bare
# addresses, comma-separated.
lan_add_addresses() {
    local ns=$1 dev=$2 list=$3 bare=() spec addr prefix
    IFS=',' read -r -a specs <<<"$list"
    for spec in "${specs[@]}"; do
        addr=${spec%%/*}
        prefix=24
        [[ $spec == */* ]] && prefix=${spec#*/}
        if ((prefix < 31)); then
            ip -n "$ns" addr add "$addr/$prefix" brd + dev "$dev"
        else
            ip -n "$ns" addr add "$addr/$prefix" dev "$dev"
        fi
        bare+=("$addr")
    done
    (IFS=','; echo "${bare[*]}")
}

lan_new_namespace() {
    ip netns add "$1"
    lan_namespaces+=("$1")
    ip -n "$1" link set lo up
}

# Connects namespace $1 to the bridge through a veth pair whose inner end is
# named $2; the outer end is named $3.
lan_plug() {
    local ns=$1 inner=$2 outer=$3
    ip link add "$outer" netns "$LAN_BRIDGE_NS" type veth peer name "${outer}p" netns "$ns"
    ip -n "$ns" link set "${outer}p" name "$inner"
    ip -n "$LAN_BRIDGE_NS" link set "$outer" master br0 up
    ip -n "$ns" link set "$inner" up
}

# lan_create LAUNCHER_ADDRS "NAME=ADDRS..." MIXER_ADDRS...
lan_create() {
    local launcher=$1 extras=$2 i=0 ns addrs
    shift 2
    lan_new_namespace "$LAN_BRIDGE_NS"
    # Without snooping the bridge floods every group datagram to all ports,
    # as a plain switch does.
    ip -n "$LAN_BRIDGE_NS" link add br0 type bridge mcast_snooping 0
    ip -n "$LAN_BRIDGE_NS" link set br0 up

    lan_new_namespace "$LAN_LAUNCHER_NS"
    lan_plug "$LAN_LAUNCHER_NS" eth0 "${lan_id}l0"
    LAN_LAUNCHER_ADDRESSES=$(lan_add_addresses "$LAN_LAUNCHER_NS" eth0 "$launcher")
    ip -n "$LAN_LAUNCHER_NS" route add 224.0.0.0/4 dev eth0
    local extra n=0
    for extra in $extras; do
        n=$((n + 1))
        lan_plug "$LAN_LAUNCHER_NS" "${extra%%=*}" "${lan_id}l$n"
        lan_add_addresses "$LAN_LAUNCHER_NS" "${extra%%=*}" "${extra#*=}" >/dev/null
    done

    for addrs in "$@"; do
        i=$((i + 1))
        ns="${lan_id}-m$i"
        lan_new_namespace "$ns"
        lan_plug "$ns" eth0 "${lan_id}m$i"
        addrs=$(lan_add_addresses "$ns" eth0 "$addrs")
        ip -n "$ns" route add 224.0.0.0/4 dev eth0
        LAN_MIXER_NS="${LAN_MIXER_NS:+$LAN_MIXER_NS }$ns"
        LAN_MIXER_ADDRESSES="${LAN_MIXER_ADDRESSES:+$LAN_MIXER_ADDRESSES;}$addrs"
    done
    export LAN_LAUNCHER_NS LAN_LAUNCHER_ADDRESSES LAN_MIXER_NS LAN_MIXER_ADDRESSES
}

# Ends what still runs inside our namespaces (only processes in them: the ones
# the command started there), then removes the namespaces, and with them the
# veth pairs and the bridge.
lan_destroy() {
    local ns pid
    for ns in "${lan_namespaces[@]}"; do
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill "$pid" 2>/dev/null || true
        done
    done
    sleep 0.2
    for ns in "${lan_namespaces[@]}"; do
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill -9 "$pid" 2>/dev/null || true
        done
        ip netns del "$ns" 2>/dev/null || true
    done
    lan_namespaces=()
}

lan_exec() {
    ip netns exec "$LAN_LAUNCHER_NS" "$@"
}

# Removes what an earlier run could not (it was killed outright): namespaces
# of this naming whose script is gone.
lan_remove_stale() {
    local ns owner pid
    for ns in $(ip netns list | awk '{print $1}' | grep -E '^ms[0-9]+-(br|l|m[0-9]+)$' || true); do
        owner=${ns%%-*}
        owner=${owner#ms}
        [[ -d /proc/$owner ]] && continue
        for pid in $(ip netns pids "$ns" 2>/dev/null); do
            kill -9 "$pid" 2>/dev/null || true
        done
        ip netns del "$ns" 2>/dev/null || true
    done
}

if [[ ${LAN_SOURCE_ONLY:-0} == 1 ]]; then
    return 0 2>/dev/null || exit 0
fi

if [[ $(id -u) -ne 0 ]]; then
    lan_log "needs root (network namespaces): skipped"
    exit 77
fi

launcher="10.77.0.2"
extras=""
mixers=()
while (($#)); do
    case $1 in
    --launcher) launcher=$2; shift 2 ;;
    --launcher-if) extras="${extras:+$extras }$2"; shift 2 ;;
    --mixer) mixers+=("$2"); shift 2 ;;
    --) shift; break ;;
    *) break ;;
    esac
done
(($#)) || { lan_log "no command given"; exit 2; }
((${#mixers[@]})) || mixers=("10.77.0.10")

trap lan_destroy EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
lan_remove_stale
lan_create "$launcher" "$extras" "${mixers[@]}"
# Ends the command well before a caller's own limit (CTest kills outright,
# and then nothing would be removed).
status=0
lan_exec timeout --kill-after=10 "${LAN_TIMEOUT:-240}" "$@" || status=$?
exit "$status"
