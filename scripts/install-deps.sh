#!/usr/bin/env bash
# Installs the Debian packages the build, the demo and the tests need.
# Idempotent: does nothing when everything is present.
set -euo pipefail

packages=(
  cmake ninja-build make python3
  g++-mingw-w64-i686-posix libz-mingw-w64-dev googletest
  wine wine32:i386 fonts-wine
  xvfb xauth xdotool imagemagick
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}; run as root to install them." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
