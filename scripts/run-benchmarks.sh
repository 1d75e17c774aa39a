#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench) and prints one table of
# figures, launcher against floor. Everything runs inside a network namespace
# of this script's own that holds nothing but a loopback interface, under a
# virtual X display; the namespace is removed again, also on failure.
#   scripts/run-benchmarks.sh [--runs N] [--raw FILE]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ "$(id -u)" -ne 0 ]; then
    echo "run-benchmarks.sh needs root (network namespaces)" >&2
    exit 1
fi

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_BENCHMARKS=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j2 --target bench_floor bench_launcher mixer-sim >/dev/null

ns="bench-$$"
cleanup() {
    # Anything still running inside goes first, then the namespace itself.
    for pid in $(ip netns pids "$ns" 2>/dev/null); do
        kill "$pid" 2>/dev/null || true
    done
    ip netns del "$ns" 2>/dev/null || true
}
trap cleanup EXIT INT TERM
ip netns add "$ns"
ip netns exec "$ns" ip link set lo up

ip netns exec "$ns" env QTWEBENGINE_DISABLE_SANDBOX=1 LC_ALL=C.UTF-8 \
    xvfb-run -a -s '-screen 0 1920x1080x24' \
    python3 "$root/bench/run_benchmarks.py" --build "$root/build-bench" "$@"
