#!/usr/bin/env bash
# Installs what building and testing Varnquill needs on a Debian machine, then cross-builds
# libjpeg-turbo for Windows into the build tree. Safe to run again: each step is skipped
# when its result is already there.
#   usage: scripts/setup.sh [build-dir]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
mkdir -p "$build"
build=$(cd "$build" && pwd)

# fortune-mod brings strfile; fortunes and fortunes-min are the real files vqsig's import is tested on.
# fonts-liberation gives Wine a face of Arial's widths, which the window is laid out for; Wine's
# own fonts are not found by this Wine, and without it every caption falls back to a wider face
# and is cut (a recommendation of Wine's that --no-install-recommends leaves out).
packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 xvfb fonts-liberation googletest dpkg-dev fortune-mod
          fortunes fortunes-min nsis)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# apt-get source needs a deb-src entry matching the binary one.
src_list=/etc/apt/sources.list.d/varnquill-src.sources
need_update=0
if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  echo "setup: adding a deb-src entry for Debian's sources"
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  as_root tee "$src_list" >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

jpeg_prefix=$build/deps/jpeg
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ] || [ ! -f "$jpeg_prefix/lib/libjpeg.a" ]; then
  if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ]; then
    echo "setup: installing ${missing[*]:-nothing new}"
    as_root apt-get update -qq
    [ ${#missing[@]} -gt 0 ] && DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# libjpeg-turbo, built for the Windows target from Debian's source package.
if [ ! -f "$jpeg_prefix/lib/libjpeg.a" ]; then
  echo "setup: building libjpeg-turbo for Windows"
  src=$build/deps/src
  rm -rf "$src" && mkdir -p "$src"
  ( cd "$src" && apt-get source -qq --download-only libjpeg-turbo >/dev/null 2>&1 || { as_root apt-get update -qq && apt-get source -qq --download-only libjpeg-turbo; } )
  ( cd "$src" && dpkg-source -x --skip-patches "$(ls ./*.dsc | head -n 1)" jpeg >/dev/null 2>&1 )
  cmake -S "$src/jpeg" -B "$build/deps/jpeg-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$jpeg_prefix" \
    -Wno-dev -DWITH_SIMD=0 -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_TURBOJPEG=0 -DWITH_JPEG8=0 >/dev/null
  cmake --build "$build/deps/jpeg-build" --target install >/dev/null
  rm -rf "$src" "$build/deps/jpeg-build"
fi
echo "setup: ready (build tree $build)"
