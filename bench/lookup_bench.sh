#!/usr/bin/env bash
# lookup_bench.sh [BUILD_DIR]: builds the translation lookup benchmark natively with
# optimization (no sanitizers) and prints its figures; then, if BUILD_DIR (a native build,
# default build-native) holds the fuzz target, prints the fuzzer's throughput over 30000
# inputs from the seed corpus. It prints figures; it is not a test.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build-native}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
clang++-14 -std=c++17 -O2 -DNDEBUG -I"$src/src" "$src/bench/lookup_bench.cpp" "$src/src/lang/crc32.cpp" \
    "$src/src/lang/language_text.cpp" "$src/src/support/error_state.cpp" -o "$work/lookup_bench"
"$work/lookup_bench"
fuzz=$build/tests/fuzz/language_fuzz
if [ -x "$fuzz" ]; then
    mkdir -p "$work/corpus"
    "$fuzz" -runs=30000 -seed=1 -max_len=70000 -print_final_stats=1 "$work/corpus" "$src/tests/fuzz/corpus" 2>&1 |
        awk '/stat::number_of_executed_units|stat::average_exec_per_sec/ {print "fuzz " $1 " " $2}'
    echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
else
    echo "no fuzz target at $fuzz (configure a native build with clang first)"
fi
