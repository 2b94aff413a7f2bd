#!/usr/bin/env bash
# Runs every benchmark program built into bin/.
set -u
status=0
for b in bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $b"
  "$b" || status=1
done
exit $status
