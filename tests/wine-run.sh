#!/usr/bin/env bash
# Runs one Windows test program in the unit-test prefix and display that the
# ctest fixture set up: wine-run.sh ENVDIR PROGRAM [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/winecommon.sh"
dir=$1
shift
export WINEPREFIX=$dir/unit-prefix
export DISPLAY=:$(cat "$dir/display")
# The first program in the prefix starts its wineserver, services and
# desktop, which inherit its stderr and stay while any test uses the prefix:
# given ctest's pipe, they would make ctest wait for the last test of the
# run. They get a file instead, which is shown once the program has ended.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
rc=0
"$PATHWICK_WINE" "$@" >"$output" 2>&1 || rc=$?
cat "$output"
# A test program that crashes ends through the program's own crash handler,
# with exit code 0: a GoogleTest run counts only once it says it passed.
if [ "$rc" -eq 0 ] && grep -q '^\[==========\] Running' "$output" && ! grep -q '^\[  PASSED  \]' "$output"; then
  echo "FAIL: the test program ended before GoogleTest's summary" >&2
  rc=1
fi
exit "$rc"
