#!/usr/bin/env bash
# Every test: installs what is needed, converts the real Shinonome, JIS X 0213 and Unicode fonts (efont's f16,
# GNU Unifont) for the real-font tests, builds and runs the whole suite twice, in the normal build and with
# AddressSanitizer + UBSan, then runs romfont on emulated devices (an Uno drawing from a flashrom-burned chip on an OLED among them), the fuzz targets and the Windows build under
# Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup-debian.sh xfonts-efont-unicode xfonts-unifont gcc-avr avr-libc simavr arduino-core-avr \
  arduino-mk gcc-arm-none-eabi libnewlib-arm-none-eabi qemu-system-arm libsimavr-dev libsimavrparts1 libelf-dev \
  pkg-config flashrom
bash scripts/shinonome-bdf.sh build/fonts shnm8x16r shnm8x16rb shnm8x16a shnm8x16ab shnm8x16ri \
  shnmk16 shnmk16b shnmk16min shnmk16minb jiskan16-2004-1 jiskan16-2000-2 f16 unifont

export MASKBURN_FONT_DIR=$PWD/build/fonts
export MASKBURN_REQUIRE_REAL_FONTS=1
for variant in normal sanitize; do
  dir=build/$variant
  sanitize=OFF
  [[ $variant == sanitize ]] && sanitize=ON
  echo "== $variant build =="
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMASKBURN_SANITIZE=$sanitize >/dev/null
  cmake --build "$dir" -j2
  (cd "$dir" && ctest -j2 --output-on-failure)
done

echo "== romfont on emulated devices: ATmega328P in simavr (serial art; SPI flash to OLED), Cortex-M3 in qemu =="
mkdir -p build/device-rom
(cd build/device-rom && ../normal/maskburn -8x16 ../fonts/shnm8x16r.bdf -16x16 ../fonts/shnmk16.bdf > /dev/null)
bash tests/device/avr-check.sh build/normal build/device-rom
bash tests/device/cortex-m-check.sh build/normal build/device-rom
bash tests/device/oled-check.sh build/normal build/device-rom

echo "== fuzz targets, 30 s each =="
bash fuzz/run.sh 30

echo "== packages: the Debian package installed, used and removed; the Windows zip under Wine =="
bash packaging/package.sh
bash packaging/package-check.sh
bash packaging/windows/windows-check.sh build/packages/maskburn-*-windows-x64.zip
