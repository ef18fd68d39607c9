#!/usr/bin/env bash
# Runs the folder menu benchmarks, i686 builds, under 32-bit Wine in a
# private prefix and display: the fill benchmark (bench/fill_bench.cpp) and
# the live open benchmark (bench/open_bench.cpp). A first argument "fill" or
# "open" runs only that one; the other arguments go to the benchmark
# programs (e.g. --runs 9). PATHWICK_BENCH_DPI sets the DPI they run at.
set -euo pipefail
. "$(dirname "$0")/common.sh"
root=$PATHWICK_ROOT
build=$root/build
ensure_packages
. "$root/tests/winecommon.sh"
which=all
case ${1:-} in fill | open) which=$1 && shift ;; esac
build_program fill_bench open_bench

envdir=$build/testenv
mkdir -p "$envdir"
(flock 9; wine_boot_template "$envdir/template") 9>"$envdir/template.lock"
work=$(mktemp -d "$build/bench.XXXXXX")
prefix=$work/prefix
wine_clone_prefix "$envdir/template" "$prefix"
read -r display xvfb_pid < <(start_private_xvfb)
cleanup() {
  WINEPREFIX=$prefix "$PATHWICK_WINESERVER" -k 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export WINEPREFIX=$prefix DISPLAY=:$display
# PATHWICK_BENCH_DPI=144 runs them at 150% (the prefix's LogPixels).
if [ -n "${PATHWICK_BENCH_DPI:-}" ]; then
  "$PATHWICK_WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$PATHWICK_BENCH_DPI" /f >/dev/null 2>&1
  "$PATHWICK_WINESERVER" -w
fi

# Wine creates files one at a time slowly in a big folder (it first scans
# the folder for a name that differs only in case), so the data folders are
# made from here, from the benchmark's own list of entries.
data=$build/fill_bench_data
for n in 1000 10000 50000; do
  dir=$data/$n
  if [ "$(find "$dir" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)" != "$n" ]; then
    rm -rf "$dir"
    mkdir -p "$dir"
    manifest=$work/manifest.$n
    "$PATHWICK_WINE" "$build/fill_bench.exe" --manifest "$n" | tr -d '\r' >"$manifest"
    (cd "$dir" && sed -n 's/^D //p' "$manifest" | xargs -r -d '\n' mkdir --)
    (cd "$dir" && sed -n 's/^F //p' "$manifest" | xargs -r -d '\n' touch --)
  fi
done

# Each in a process of its own: the open benchmark reports the first open
# of a fresh process.
[ "$which" == open ] || "$PATHWICK_WINE" "$build/fill_bench.exe" "$@" | tr -d '\r'
if [ "$which" != fill ]; then
  for first in --first-unwarmed --first; do
    for run in 1 2 3; do "$PATHWICK_WINE" "$build/open_bench.exe" $first | tr -d '\r'; done
  done
  "$PATHWICK_WINE" "$build/open_bench.exe" "$@" | tr -d '\r'
fi
