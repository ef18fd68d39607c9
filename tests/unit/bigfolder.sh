#!/usr/bin/env bash
# ctest fixture for menus_bigfolder_tests: "setup DIR" makes DIR/bigfolder
# with 100 folders and 32,700 files, "cleanup DIR" removes it. Made from
# here because Wine takes minutes to create that many files one by one.
set -euo pipefail
action=$1 dir=$2/bigfolder
case $action in
setup)
  rm -rf "$dir"
  mkdir -p "$dir"
  cd "$dir"
  seq -f 'dir%05g' 0 99 | xargs mkdir
  seq -f 'file%05g.dat' 0 32699 | xargs touch
  ;;
cleanup)
  rm -rf "$dir"
  ;;
esac
