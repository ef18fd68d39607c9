#!/usr/bin/env bash
# Installs what is missing, builds the program and the tests, and runs every
# test through ctest under Wine.
set -euo pipefail
. "$(dirname "$0")/common.sh"

ensure_packages
echo "building the program (i686) ..."
build_program
echo "building the tests (x86_64) ..."
build_test_tree
cd "$PATHWICK_ROOT/build/x64"
ctest --output-on-failure -j2 --timeout 600
