#!/usr/bin/env bash
# Installs the Debian packages the project needs, when some are missing. Safe to run again.
# Only 64-bit Wine is installable on our machines: never add the i386 architecture.
set -euo pipefail
packages=(cmake ninja-build g++ clang libgtest-dev googletest libbenchmark-dev ccache
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64
  wine wine64 fonts-wine xvfb xdotool x11-utils imagemagick nsis python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
  echo "setup: missing Debian packages: ${missing[*]} (run as root, or install them)" >&2
  exit 1
fi
echo "setup: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
