#!/usr/bin/env bash
# Remakes the README's pictures (docs/screenshots/*.png) from the program of
# this build, driven by real input under Wine (tests/e2e/screenshots.sh).
set -euo pipefail
. "$(dirname "$0")/common.sh"
root=$PATHWICK_ROOT
build=$root/build
. "$root/tests/winecommon.sh"

ensure_packages
build_program pathwick wdriver
envdir=$build/testenv
mkdir -p "$envdir"
(flock 9; wine_boot_template "$envdir/template") 9>"$envdir/template.lock"
PATHWICK_PICTURES_DIR=$root/docs/screenshots PATHWICK_BUILD_DIR=$build PATHWICK_TEST_ENV_DIR=$envdir \
  bash "$root/tests/e2e/screenshots.sh"
