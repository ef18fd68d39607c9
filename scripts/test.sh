#!/usr/bin/env bash
# Installs what is missing, builds the program and the tests, and runs every
# test through ctest under 32-bit Wine (64-bit where the kernel runs no
# 32-bit program: tests/winecommon.sh).
set -euo pipefail
. "$(dirname "$0")/common.sh"

ensure_packages
. "$PATHWICK_ROOT/tests/winecommon.sh"
echo "building the program and the tests ($PATHWICK_ARCH) ..."
build_program
cd "$PATHWICK_ROOT/build"
ctest --output-on-failure -j2 --timeout 600
