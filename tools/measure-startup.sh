#!/usr/bin/env bash
# Times Tarvel.exe from CreateProcess to its registration window being visible, against a bare
# window program, several runs each, under Wine; prints the medians and their ratio.
#   tools/measure-startup.sh [runs]
set -euo pipefail
self=$(readlink -f "$0")
cd "$(dirname "$self")/.."
build=build/win
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
fi
cmake --build "$build" --target Tarvel bare_window measure_startup

export E2E_DIR=$PWD/$build/e2e
run=tests/e2e/run-under-wine.sh
exe=$build/tests/e2e
winpath() { local p; p=$(readlink -f "$1"); printf 'Z:%s' "${p//\//\\}"; }
measure() {
  [ -f "$E2E_DIR/prefix/system.reg" ] || "$run" --setup
  WINEPREFIX=$E2E_DIR/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    wine "$exe/measure_startup.exe" "$(winpath "$build/source/Tarvel.exe")" \
    "$(winpath "$exe/bare_window.exe")" "${1:-7}"
  WINEPREFIX=$E2E_DIR/prefix wineserver -k 2>/dev/null || true
}
if [ -n "${DISPLAY:-}" ]; then
  measure "$@"
else
  # Again, inside a virtual X display.
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$self" "$@"
fi
