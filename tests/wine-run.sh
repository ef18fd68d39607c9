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
exec "$PATHWICK_WINE" "$@"
