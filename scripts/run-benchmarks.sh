#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench) and prints one table of
# figures, launcher against floor. Everything runs inside a private LAN of
# network namespaces that this script builds (tools/test-lan/run-in-lan.sh) and
# removes again, also on failure: the launcher's namespace, where the
# loopback figures are taken and the launcher searches, and one namespace
# with 254 simulated mixers for the search burst. A virtual X display
# (Xvfb, 1920 x 1080) serves both sides.
#   scripts/run-benchmarks.sh [--runs N] [--raw FILE]
set -euo pipefail
shopt -s inherit_errexit
cd "$(dirname "$0")/.."
root=$(pwd)

if [[ $(id -u) -ne 0 ]]; then
    echo "run-benchmarks.sh needs root (network namespaces)" >&2
    exit 1
fi

# The preset "bench" of CMakePresets.json.
cmake --preset bench >/dev/null
cmake --build --preset bench -j2 --target bench_floor bench_launcher bench_parse mixer-sim >/dev/null

LAN_SOURCE_ONLY=1 source tools/test-lan/run-in-lan.sh
trap lan_destroy EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
# One subnet of 510 hosts: the launcher at its top, a mixer on each of the
# 254 addresses below it.
mixers=$(seq -s, -f '10.77.0.%g/23' 1 254)
lan_create 10.77.1.250/23 "" "$mixers"

lan_exec env QTWEBENGINE_DISABLE_SANDBOX=1 LC_ALL=C.UTF-8 \
    xvfb-run -a -s '-screen 0 1920x1080x24' \
    python3 "$root/bench/run_benchmarks.py" --build "$root/build-bench" \
    --mixer-ns "$LAN_MIXER_NS" --burst-range 10.77.0.1-10.77.0.254 --lan 10.77.0.0/16 "$@"
