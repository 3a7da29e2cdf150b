#!/usr/bin/env bash
# Installs what is needed, builds Tarvel.exe and starts it under Wine.
# Without an X display the program runs inside a virtual one (nothing is seen then).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
tools/build.sh
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-prefix}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG="${WINEDEBUG:--all}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$root/build/win/source/Tarvel.exe"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$root/build/win/source/Tarvel.exe"
fi
