#!/usr/bin/env bash
# Sets up, builds and runs every test. With --sanitize it then builds
# everything again with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the tests again (about a quarter of an hour more on two cores).
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=no
for arg in "$@"; do
  case $arg in
    --sanitize) sanitize=yes ;;
    *) echo "usage: scripts/test.sh [--sanitize]" >&2; exit 2 ;;
  esac
done
scripts/setup.sh
jobs=$(nproc)

scripts/build.sh
ctest --test-dir build --output-on-failure -j "$jobs"

[ "$sanitize" = yes ] || exit 0
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREP_SANITIZE=ON >/dev/null
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-sanitize --output-on-failure -j "$jobs"
