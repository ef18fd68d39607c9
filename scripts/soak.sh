#!/usr/bin/env bash
# On demand: the soak (tests/e2e/soak.sh) with many cycles, 1,000 of the
# Folder Menu and 200 of each dialog unless told
# (scripts/soak.sh [FOLDER_CYCLES [DIALOG_CYCLES]]). Prints the program's
# GDI objects, USER objects, handles and private memory before and after
# each run of cycles; ctest runs the same test with 20 and 3.
set -euo pipefail
. "$(dirname "$0")/common.sh"
export PATHWICK_SOAK_CYCLES=${1:-1000} PATHWICK_SOAK_DIALOG_CYCLES=${2:-200}
run_e2e_script soak.sh pathwick_probe wdriver
