#!/usr/bin/env bash
# Checks the Debian package that packaging/package.sh built: installs it with apt-get, uses the four programs
# from PATH on the committed tiny fonts (the converter's report and ROM equal to the golden ones) and the man
# pages (maskburn's Japanese one too), then removes it and requires the file system to be as it was before.
# Usage: bash packaging/package-check.sh    (as root, after packaging/package.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(ls build/packages/maskburn_*.deb)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL  package: $*"; exit 1; }
snapshot() { find /usr /etc /var/lib/dpkg/info -xdev \( -type f -o -type l \) 2>/dev/null | grep -v '\.cache$' | sort; }

! dpkg-query -W maskburn > /dev/null 2>&1 || fail "maskburn is installed already"
snapshot > "$work/before"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" > "$work/install.log" 2>&1 || { cat "$work/install.log"; fail "install"; }

example=tests/golden/example
cp tests/fixtures/example-half.bdf "$work/half.bdf" && cp tests/fixtures/example-full.bdf "$work/full.bdf"
(cd "$work" && maskburn -8x16 half.bdf -16x16 full.bdf > report.txt) || fail "maskburn from PATH"
iconv -f CP932 -t UTF-8 "$work/report.txt" | diff - "$example/stdout.txt" > /dev/null || fail "report differs from the golden one"
for file in FONTINDEX.BIN FONTDATA.BIN; do cmp -s "$work/$file" "$example/$file" || fail "$file differs"; done
version=$(sed -n 's/^project(maskburn VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ $(maskburn-view --version) == "maskburn-view $version" ]] || fail "maskburn-view --version"
(cd "$work" && maskburn-subset --text A sub > /dev/null && maskburn-view --art A --index sub/FONTINDEX.BIN \
  --data sub/FONTDATA.BIN | grep -q '^U+0041$') || fail "maskburn-subset and maskburn-view from PATH"
(cd "$work" && maskburn-image rom.img | grep -q '^rom.img: 8352 bytes ') || fail "maskburn-image from PATH"
for page in maskburn maskburn-view maskburn-subset maskburn-image; do
  MANWIDTH=80 man "$page" 2>/dev/null | grep -q "$page" || fail "man $page"
done
LC_ALL=C.UTF-8 MANWIDTH=80 man -L ja maskburn 2>/dev/null | grep -q '書き込みエラー」' || fail "man -L ja maskburn"
[[ -f /usr/share/maskburn/romfont/library.properties && -f /usr/share/doc/maskburn/README.ja.md ]] || fail "library or READMEs"

DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq maskburn > "$work/remove.log" 2>&1 || fail "removal"
snapshot | diff "$work/before" - || fail "removing the package left the files above changed"
echo "PASS  package: installed, used from PATH, man pages shown, removed without a trace ($(basename "$deb"))"
