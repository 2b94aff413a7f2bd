#!/usr/bin/env bash
# Runs every benchmark program built into bin/, then the browser's first page of the disc that bench_finish
# leaves behind.
set -u
status=0
export VELLORA_BENCH_WEB_DISC
VELLORA_BENCH_WEB_DISC=$(mktemp -d)
trap 'rm -rf "$VELLORA_BENCH_WEB_DISC"' EXIT
for b in bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $b"
  "$b" || status=1
done
here=$(cd "$(dirname "$0")" && pwd)
if [ -f "$VELLORA_BENCH_WEB_DISC/Vellora/index.html" ] && [ -x /usr/bin/chromium ]; then
  echo "== web_first_page"
  /usr/bin/python3 "$here/web_first_page.py" "$VELLORA_BENCH_WEB_DISC/Vellora" || status=1
fi
exit $status
