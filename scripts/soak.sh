#!/usr/bin/env bash
# On demand: the Folder Menu soak (tests/e2e/soak.sh) with many cycles, 500
# unless told (scripts/soak.sh 1000). Prints the program's GDI objects, USER
# objects and handles before and after; ctest runs the same test with 20.
set -euo pipefail
. "$(dirname "$0")/common.sh"
root=$PATHWICK_ROOT
build=$root/build
. "$root/tests/winecommon.sh"

ensure_packages
build_program pathwick_probe wdriver
envdir=$build/testenv
mkdir -p "$envdir"
(flock 9; wine_boot_template "$envdir/template") 9>"$envdir/template.lock"
PATHWICK_SOAK_CYCLES=${1:-500} PATHWICK_BUILD_DIR=$build PATHWICK_TEST_ENV_DIR=$envdir \
  bash "$root/tests/e2e/soak.sh"
