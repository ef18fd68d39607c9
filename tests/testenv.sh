#!/usr/bin/env bash
# ctest fixture: "setup DIR" boots the template prefix the tests copy, and
# starts the X display and prefix the unit tests share; "cleanup DIR" stops
# what setup started.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/winecommon.sh"
action=$1 dir=$2
mkdir -p "$dir"

case $action in
setup)
  # The template outlives a run: booting a prefix costs seconds.
  (flock 9; wine_boot_template "$dir/template") 9>"$dir/template.lock"
  [ -f "$dir/xvfb.pid" ] && kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
  read -r display pid < <(start_private_xvfb)
  echo "$display" >"$dir/display"
  echo "$pid" >"$dir/xvfb.pid"
  wine_clone_prefix "$dir/template" "$dir/unit-prefix"
  echo "template ready; unit tests on display :$display"
  ;;
cleanup)
  WINEPREFIX=$dir/unit-prefix "$PATHWICK_WINESERVER" -k 2>/dev/null || true
  [ -f "$dir/xvfb.pid" ] && kill "$(cat "$dir/xvfb.pid")" 2>/dev/null || true
  rm -f "$dir/xvfb.pid" "$dir/display"
  ;;
*)
  echo "usage: $0 setup|cleanup DIR" >&2
  exit 2
  ;;
esac
