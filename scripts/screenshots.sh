#!/usr/bin/env bash
# Remakes the README's pictures (docs/screenshots/*.png) from the program of
# this build, driven by real input under Wine (tests/e2e/screenshots.sh).
set -euo pipefail
. "$(dirname "$0")/common.sh"
export PATHWICK_PICTURES_DIR=$PATHWICK_ROOT/docs/screenshots
run_e2e_script screenshots.sh pathwick wdriver
