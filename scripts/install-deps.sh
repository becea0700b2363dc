#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run script need.
# Idempotent: does nothing when everything is already there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  fonts-dejavu-core qt6-base-dev
  libegl-dev libgl-dev libegl-mesa0 libgl1-mesa-dri
  libjpeg-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
