#!/usr/bin/env bash
# Installs what building, testing and converting need on a Debian machine (run as root), and any further
# packages named as arguments (the benchmark, fuzz and Windows scripts name theirs).
# Only missing packages are installed, so a second run costs nothing.
set -euo pipefail

packages=(cmake g++ make libgtest-dev python3 valgrind man-db xfonts-shinonome xfonts-jisx0213 pcf2bdf libpng-dev clang libclang-rt-14-dev "$@")
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
