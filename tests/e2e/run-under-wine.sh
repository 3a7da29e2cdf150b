#!/usr/bin/env bash
# Runs one suite of the end-to-end driver under Wine, in the prefix made by --setup.
#   run-under-wine.sh --setup             make a fresh prefix under $E2E_DIR
#   run-under-wine.sh --cleanup           end whatever still runs in it
#   run-under-wine.sh DRIVER.exe SUITE    run DRIVER.exe --gtest_filter=SUITE.*
#   run-under-wine.sh DRIVER.exe FILTER   a gtest filter as it stands (holds '.', '*' or ':')
# Needs an X display (tools/test-e2e.sh provides one with Xvfb).
set -euo pipefail

: "${E2E_DIR:?E2E_DIR is not set}"
export WINEPREFIX="$E2E_DIR/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export LC_ALL=C.UTF-8

# Wine maps drive Z: to the Unix root.
winpath() { local p; p=$(readlink -f "$1"); printf 'Z:%s' "${p//\//\\}"; }

case "${1:-}" in
--setup)
  rm -rf "$WINEPREFIX"
  mkdir -p "$E2E_DIR"
  wine wineboot -i >/dev/null 2>&1
  # Every program runs inside one virtual desktop, so that windows have frames.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
  # Wine has no Arial or Courier New of its own: their metric twins stand in.
  for pair in "Arial=Liberation Sans" "Courier New=Liberation Mono"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "${pair%%=*}" /d "${pair#*=}" /f \
      >/dev/null 2>&1
  done
  wineserver -w
  test -f "$WINEPREFIX/system.reg"
  echo "wine prefix ready: $WINEPREFIX"
  ;;
--cleanup)
  wineserver -k 2>/dev/null || true
  ;;
*)
  driver=$1
  suite=$2
  [ -f "$WINEPREFIX/system.reg" ] || { echo "no wine prefix; run with --setup first" >&2; exit 1; }
  mkdir -p "$E2E_DIR/screenshots" "$E2E_DIR/scratch"
  export TARVEL_EXE TARVEL_SHOTS TARVEL_CONTENT TARVEL_SCRATCH
  TARVEL_EXE=$(winpath "${TARVEL_EXE_UNIX:?}")
  TARVEL_CONTENT=$(winpath "${TARVEL_CONTENT_UNIX:?}")
  TARVEL_SHOTS=$(winpath "$E2E_DIR/screenshots")
  TARVEL_SCRATCH=$(winpath "$E2E_DIR/scratch")
  [ -f "$TARVEL_EXE_UNIX" ] || { echo "no program at $TARVEL_EXE_UNIX" >&2; exit 1; }
  status=0
  case $suite in
  *[.*:]*) filter=$suite ;;
  *) filter="$suite.*" ;;
  esac
  wine "$driver" --gtest_filter="$filter" --gtest_color=no || status=$?
  # Nothing of this suite may run on into the next one.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  exit "$status"
  ;;
esac
