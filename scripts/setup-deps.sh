#!/usr/bin/env bash
# Installs what building, running and testing Chimewell needs on a Debian machine (idempotent).
set -euo pipefail
PKGS=(cmake g++ make googletest libgtest-dev libgmock-dev g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
      wine wine64 fonts-wine xvfb xauth x11-utils imagemagick xdotool nsis fonts-comic-neue libasound2)
missing=()
for p in "${PKGS[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
