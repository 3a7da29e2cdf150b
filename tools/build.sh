#!/usr/bin/env bash
# Installs what is needed (tools/setup.sh) and builds both targets:
#   build/host  the portable core with its unit tests and benchmarks (native)
#   build/win   Tarvel.exe and the end-to-end driver (MinGW-w64)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
if [ ! -f build/host/build.ninja ]; then
  cmake -S . -B build/host -G Ninja
fi
cmake --build build/host
if [ ! -f build/win/build.ninja ]; then
  cmake -S . -B build/win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
fi
cmake --build build/win
