#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; does nothing
# when they are all present already.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-charts-dev
          libgl-dev libgtest-dev libgmock-dev googletest libbenchmark-dev
          fonts-dejavu-core xvfb xauth xdotool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
