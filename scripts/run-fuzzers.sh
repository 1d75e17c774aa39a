#!/usr/bin/env bash
# Builds the libFuzzer targets (clang-14, AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for SECONDS
# (default 60), one after the other. The corpus grows in build-fuzz/corpus/,
# seeded from fuzz/corpus/. Any crash, leak or sanitizer finding fails the
# run; the reproducer is left in build-fuzz/findings/.
#
#   scripts/run-fuzzers.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-test-deps.sh

seconds=${1:-60}
build=build-fuzz
targets=(marker announcement description config address)

# The preset "fuzz" of CMakePresets.json (clang-14, warnings count as errors).
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j2 --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/findings"
status=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    cp -n fuzz/corpus/"$target"/* "$corpus"/ 2>/dev/null || true
    log="$build/fuzz_$target.log"
    echo "== fuzz_$target for ${seconds}s"
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -max_len=70000 -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
            "$corpus" >"$log" 2>&1; then
        status=1
        echo "fuzz_$target FOUND A PROBLEM, see $log" >&2
        tail -40 "$log" >&2
    fi
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$log" || true
done
exit "$status"
