#!/bin/sh
# A bounded run of the JPEG encoder's fuzz target (clang, libFuzzer, ASan + UBSan).
# Usage: scripts/fuzz.sh [seconds]   (default 60; the build goes to build/fuzz)
set -eu
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORV_FUZZ_BUILD:-$root/build/fuzz}
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORV_FUZZ=ON -DORV_TESTS=OFF >/dev/null
cmake --build "$build" --target jpeg_fuzz -j 2
mkdir -p "$build/jpeg_corpus"
"$build/fuzz/jpeg_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=20 -rss_limit_mb=2048 \
  -print_final_stats=1 "$build/jpeg_corpus"
