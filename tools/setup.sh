#!/usr/bin/env bash
# Installs everything Tarvel needs on a Debian 12 machine and builds the Windows
# copy of libjpeg-turbo from Debian's source package. Safe to run again: work
# already done is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

packages=(
  build-essential cmake ninja-build pkg-config dpkg-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
  nasm wine wine64 fonts-wine xvfb xauth x11-utils imagemagick fonts-liberation
  librsvg2-bin libjpeg62-turbo-dev libjpeg-turbo-progs
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format python3 python3-pil
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# libjpeg-turbo for the Windows target, static, into build/deps/win.
prefix="$root/build/deps/win"
if [ ! -f "$prefix/lib/libjpeg.a" ]; then
  src_list=/etc/apt/sources.list.d/tarvel-src.sources
  if [ ! -f "$src_list" ]; then
    cat >"$src_list" <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    apt-get update
  fi
  work="$root/build/deps/src"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source --download-only libjpeg-turbo)
  (cd "$work" && dpkg-source -x --no-check libjpeg-turbo_*.dsc tree >/dev/null)
  cmake -S "$work/tree" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DCMAKE_INSTALL_DEFAULT_LIBDIR=lib >/dev/null
  cmake --build "$work/build" >/dev/null
  cmake --install "$work/build" >/dev/null
fi
echo "setup: done"
