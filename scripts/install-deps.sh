#!/usr/bin/env bash
# install-deps.sh: brings a fresh Debian 12 machine to what the build and the tests need.
# apt-get runs only when something is missing, so a ready machine pays nothing.
# fuse3 and libfuse3-dev are for make bench's simulated share (bench/slow_fs.cpp).
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev clang-format
  g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine64 fonts-wine
  xvfb imagemagick x11-utils
  fonts-wqy-microhei fonts-wqy-zenhei locales
  git python3 icoutils unzip
  fuse3 libfuse3-dev pkg-config
)

missing=()
for p in "${packages[@]}"; do
  # dpkg -s succeeds for packages that were removed but left config behind,
  # so ask for the install status itself.
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)

# The 32-bit program runs under 32-bit Wine, from the i386 architecture,
# only where this machine can run 32-bit code at all: elsewhere wine32 would
# break 64-bit Wine too (its launcher becomes a 32-bit program).
here=$(cd "$(dirname "$0")" && pwd)
if "$here/runs-32bit"; then
  status=$(dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null || true)
  if [[ "$status" != "install ok installed" ]]; then
    dpkg --print-foreign-architectures | grep -qx i386 || "${sudo[@]}" dpkg --add-architecture i386
    missing+=(wine32:i386)
  fi
fi

if ((${#missing[@]})); then
  echo "install-deps: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine draws Chinese captions as boxes unless it runs under a Chinese locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "install-deps: generating zh_CN.UTF-8"
  "${sudo[@]}" sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo[@]}" locale-gen >/dev/null
fi
