#!/usr/bin/env bash
# Installs the Debian 12 packages Marlix needs to build, run and test. Safe to run again.
# dpkg-dev, file, desktop-file-utils and man-db build the Debian package and check it (cpack -G DEB).
set -euo pipefail
packages=(build-essential cmake g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
          libqt6serialport6-dev libqt6svg6 libgl-dev libgtest-dev libbenchmark-dev clang-format xvfb xauth
          dpkg-dev file desktop-file-utils man-db)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
fi
