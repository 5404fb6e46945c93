#!/usr/bin/env bash
# Installs the Debian 12 packages Vantrel needs to build and test. Idempotent: it
# only calls apt when a package is missing.
set -euo pipefail

packages=(build-essential cmake ninja-build libgtest-dev libgmock-dev nlohmann-json3-dev libbenchmark-dev
          python3 python3-scipy python3-xarray python3-netcdf4 libnetcdf-dev libhdf5-dev zlib1g-dev libdeflate-dev libisal-dev clang-14 libclang-rt-14-dev qt6-base-dev
          fonts-liberation xvfb xdotool)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
