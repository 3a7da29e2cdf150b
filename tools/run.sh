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
  # Wine has no Arial or Courier New of its own: their metric twins stand in.
  for pair in "Arial=Liberation Sans" "Courier New=Liberation Mono"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" /f \
      >/dev/null 2>&1 || true
  done
  wineserver -w
fi
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$root/build/win/source/Tarvel.exe"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$root/build/win/source/Tarvel.exe"
fi
