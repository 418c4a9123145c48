#!/usr/bin/env bash
# Builds the packages into build/packages/: the Debian package maskburn_VERSION_ARCH.deb (maskburn,
# maskburn-view, maskburn-subset, maskburn-image, man pages, the romfont library folder, READMEs and licence)
# and the Windows zip maskburn-VERSION-windows-x64.zip (the static maskburn.exe, the romfont folder,
# LICENSE.txt, both READMEs), then runs lintian on the package.
# Usage: bash packaging/package.sh    (as root on Debian; installs what it needs)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-debian.sh dpkg-dev fakeroot file lintian zip unzip g++-mingw-w64-x86-64-posix
out=$PWD/build/packages
rm -rf "$out"
mkdir -p "$out"

common=(-DCMAKE_BUILD_TYPE=Release -DMASKBURN_TESTS=OFF -DMASKBURN_FUZZ=OFF -DMASKBURN_SANITIZE=OFF)
for build in package-deb package-windows; do
  options=("${common[@]}")
  [[ $build == package-deb ]] || options+=(-DCMAKE_TOOLCHAIN_FILE="$PWD/packaging/windows/mingw-w64-x86_64.cmake" -DMASKBURN_VIEW=OFF)
  { cmake -S . -B "build/$build" "${options[@]}" && cmake --build "build/$build" -j2 &&
    (cd "build/$build" && cpack -B "$out"); } > "build/$build.log" 2>&1 || { tail -40 "build/$build.log"; exit 1; }
done
rm -rf "$out/_CPack_Packages"

# Errors fail the build of the packages; warnings are listed.
lintian --fail-on error "$out"/maskburn_*.deb
ls -l "$out"
