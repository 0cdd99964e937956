#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the demo and the
# benchmark need. Quiet and quick when everything is there already.
set -euo pipefail

packages=(
  cmake make g++ python3
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  googletest libgtest-dev
  wine wine64 xvfb xauth imagemagick
  mscompress libmspack-dev
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: run as root, or install these packages first" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
