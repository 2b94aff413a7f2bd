#!/usr/bin/env bash
# Runs every fuzz target for the given number of seconds, each with its own corpus folder.
set -u
seconds=${1:-60}
status=0
for f in bin/fuzz_*; do
  [ -x "$f" ] || continue
  name=$(basename "$f")
  mkdir -p "corpus/$name"
  echo "== $name for ${seconds}s"
  "$f" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 "corpus/$name" 2>&1 | tail -n 5 || status=1
done
exit $status
