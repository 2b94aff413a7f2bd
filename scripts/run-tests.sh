#!/usr/bin/env bash
# Runs the test suite in build-test: every test case, JOBS at a time (first argument).
#
# SANE's test backend ends its reader thread with an asynchronous pthread_cancel. A thread cancelled while it is
# inside the address sanitizer's allocator leaves an allocator lock taken for good, and the scan test then hangs
# at its end (seen about once in fifty runs on a loaded machine; the scan tests have a short time limit for this).
# The scan tests that fail get one more run; any other failure fails the suite at once.
set -u
jobs=${1:-2}
cd "$(dirname "$0")/../build-test" || exit 1
ctest --output-on-failure -j "$jobs"
status=$?
[ "$status" -eq 0 ] && exit 0
failed=Testing/Temporary/LastTestsFailed.log
[ -s "$failed" ] || exit "$status"
if grep -v '^[0-9]*:twain\.' "$failed" | grep -q .; then
  exit "$status"
fi
echo "run-tests: the scan tests that failed run once more:"
cat "$failed"
ctest --output-on-failure --rerun-failed
