#!/usr/bin/env bash
# On demand: the soak (tests/e2e/soak.sh) with many cycles, 1,000 of the
# Folder Menu and 200 of each dialog unless told
# (scripts/soak.sh [FOLDER_CYCLES [DIALOG_CYCLES]]). Prints the program's
# GDI objects, USER objects, handles and private memory before and after
# each run of cycles; ctest runs the same test with 20 and 3.
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
PATHWICK_SOAK_CYCLES=${1:-1000} PATHWICK_SOAK_DIALOG_CYCLES=${2:-200} \
  PATHWICK_BUILD_DIR=$build PATHWICK_TEST_ENV_DIR=$envdir \
  bash "$root/tests/e2e/soak.sh"
