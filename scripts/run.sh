#!/usr/bin/env bash
# Installs what is missing, builds and runs Pathwick Pro under Wine in a
# 1024x768 virtual desktop until stopped (Ctrl+C). Without a display it uses a
# private one and saves a screenshot to build/screenshots/.
set -euo pipefail
. "$(dirname "$0")/common.sh"
ensure_packages
. "$PATHWICK_ROOT/tests/winecommon.sh"
build_program pathwick wdriver
exe=$PATHWICK_ROOT/build/pathwick.exe
prefix=$PATHWICK_ROOT/build/run-prefix
wine_boot_template "$prefix"
export WINEPREFIX=$prefix

xvfb_pid=
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  read -r display xvfb_pid < <(start_private_xvfb)
  export DISPLAY=:$display
  echo "no display: using a private one, :$display"
fi

stop() {
  "$PATHWICK_WINESERVER" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap stop EXIT
trap 'exit 0' INT TERM

echo "starting $exe ($PATHWICK_ARCH) under Wine ($WINEARCH)"
"$PATHWICK_WINE" "$exe" &
program_pid=$!

if [ -n "$xvfb_pid" ]; then
  mkdir -p "$PATHWICK_ROOT/build/screenshots"
  "$PATHWICK_WINE" "$PATHWICK_ROOT/build/wdriver.exe" wait-window PathwickDummyWindow - 30000 >/dev/null 2>&1 ||
    echo "the program's window did not appear"
  sleep 2
  shot=$PATHWICK_ROOT/build/screenshots/run-$(date +%Y%m%d-%H%M%S).png
  import -window root "$shot"
  echo "screenshot: $shot"
fi
echo "Pathwick Pro is running (log: $(dirname "$exe")/run.log); Ctrl+C stops it."
wait "$program_pid" || true
