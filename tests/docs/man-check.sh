#!/usr/bin/env bash
# Every man page must render without a warning from groff in a UTF-8 locale and, the English pages, also in
# plain ASCII (LC_ALL=C), where a character the page does not list for its <U+XXXX> fallback would vanish.
# Usage: bash tests/docs/man-check.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/../..}"
command -v man > /dev/null || { echo "FAIL  man pages: man (man-db) is not installed"; exit 1; }
status=0
for page in docs/man/*.1 docs/man/ja/*.1; do
  for locale in C.UTF-8 C; do
    [[ $locale == C && $page == docs/man/ja/* ]] && continue  # Japanese throughout: read in a UTF-8 locale
    warnings=$(LC_ALL=$locale MANWIDTH=80 man --warnings -l "$page" 2>&1 > /dev/null)
    [[ -z $warnings ]] || { echo "FAIL  $page in LC_ALL=$locale:"; echo "$warnings"; status=1; }
  done
done
((status)) || echo "PASS  every man page renders without a warning"
exit $status
