#!/usr/bin/env bash
# Builds Tarvel.exe a second time in a fresh folder and compares it byte for byte with the
# build in build/win: the same sources must give the same executable.
set -euo pipefail
cd "$(dirname "$0")/.."
second=$(mktemp -d /tmp/tarvel-repro.XXXXXX)
trap 'rm -rf "$second"' EXIT
cmake -S . -B "$second" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build "$second" --target Tarvel >/dev/null
a=$(sha256sum < build/win/source/Tarvel.exe)
b=$(sha256sum < "$second/source/Tarvel.exe")
if [ "$a" != "$b" ]; then
  echo "reproducible build: Tarvel.exe differs between two builds" >&2
  exit 1
fi
echo "reproducible build: Tarvel.exe identical (${a%% *})"
