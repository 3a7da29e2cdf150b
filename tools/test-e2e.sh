#!/usr/bin/env bash
# Builds the Windows program and the end-to-end driver, then runs the end-to-end tests under
# Wine in a virtual X display (or on $DISPLAY when one is set).
#   tools/test-e2e.sh [extra ctest arguments, e.g. -R e2e.Registration]
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/win
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
fi
cmake --build "$build" --target Tarvel tarvel_e2e bare_window measure_startup

run_ctest=(ctest --test-dir "$build" -L e2e --output-on-failure "$@")
if [ -n "${DISPLAY:-}" ]; then
  "${run_ctest[@]}"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" "${run_ctest[@]}"
fi
echo "screenshots: $build/e2e/screenshots"
