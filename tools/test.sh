#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test:
#   1. the native unit tests of the core and the content;
#   2. the same under AddressSanitizer and UndefinedBehaviorSanitizer;
#   3. the fuzzing targets, each for a bounded time;
#   4. the end-to-end tests of Tarvel.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
ctest --test-dir build/host --output-on-failure

if [ ! -f build/sanitize/build.ninja ]; then
  cmake -S . -B build/sanitize -G Ninja -DTARVEL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
fi
cmake --build build/sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure

tools/check-reproducible.sh
tools/fuzz.sh 45
tools/test-e2e.sh
