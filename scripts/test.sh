#!/usr/bin/env bash
# Installs what is missing, builds the program and the tests, and runs every
# test through ctest under 32-bit Wine.
set -euo pipefail
. "$(dirname "$0")/common.sh"

ensure_packages
echo "building the program and the tests (i686) ..."
build_program
cd "$PATHWICK_ROOT/build"
ctest --output-on-failure -j2 --timeout 600
