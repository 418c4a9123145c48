#!/usr/bin/env bash
# README.md and README.ja.md must carry the same commands (every line of their fenced code blocks) and the same
# figures (every number in them, wherever it stands), so that a change to one README is made to the other.
# Usage: bash tests/docs/readme-check.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"
commands() { awk '/^ *```/ { inside = !inside; next } inside' "$1" | sort -u; }
figures() { grep -oE '[0-9]+([.,][0-9]+)*' "$1" | sort -u; }
status=0
for kind in commands figures; do
  if ! difference=$(diff <($kind README.md) <($kind README.ja.md)); then
    echo "FAIL  README.md and README.ja.md differ in their $kind (< only in README.md, > only in README.ja.md):"
    echo "$difference"
    status=1
  fi
done
((status)) || echo "PASS  README.md and README.ja.md carry the same commands and figures"
exit $status
