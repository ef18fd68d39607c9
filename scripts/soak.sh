#!/usr/bin/env bash
# On demand: the soak (tests/e2e/soak.sh) with many cycles, 1,000 of the
# Folder Menu and 200 of each dialog unless told
# (scripts/soak.sh [FOLDER_CYCLES [DIALOG_CYCLES]]). Prints the program's
# GDI objects, USER objects, handles and private memory before and after
# each run of cycles; then dialogs_tests opens and closes every dialog as
# many times in-process. ctest runs the soak with 20 and 3, dialogs_tests
# with 20.
set -euo pipefail
. "$(dirname "$0")/common.sh"
export PATHWICK_SOAK_CYCLES=${1:-1000} PATHWICK_SOAK_DIALOG_CYCLES=${2:-200}
run_e2e_script soak.sh pathwick_probe wdriver dialogs_tests
envdir=$PATHWICK_ROOT/build/testenv
bash "$PATHWICK_ROOT/tests/testenv.sh" setup "$envdir" >/dev/null
trap 'bash "$PATHWICK_ROOT/tests/testenv.sh" cleanup "$envdir"' EXIT
PATHWICK_DIALOG_CYCLES=$PATHWICK_SOAK_DIALOG_CYCLES bash "$PATHWICK_ROOT/tests/wine-run.sh" "$envdir" \
  "$PATHWICK_ROOT/build/unit/dialogs_tests/dialogs_tests.exe"
