#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs one of them for a given time.
#   fuzz/run.sh fuzz_dbf_reader 600     # target name, seconds
# Findings are written to fuzz/findings/<target>/; keep each as a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?target name}
seconds=${2:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANTREP_FUZZ=ON -DVANTREP_SANITIZE=OFF \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" >/dev/null
cmake --build build-fuzz --target "$target"
work=fuzz/corpus-work/$target
findings=fuzz/findings/$target
mkdir -p "$work" "$findings"
build-fuzz/fuzz/$target -max_total_time="$seconds" -artifact_prefix="$findings/" \
  "$work" "fuzz/seeds/${target#fuzz_}"
