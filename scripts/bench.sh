#!/usr/bin/env bash
# Runs the folder menu fill benchmark (bench/fill_bench.cpp), an i686 build,
# under 32-bit Wine in a private prefix and display. Arguments go to
# fill_bench.exe (e.g. --runs 9).
set -euo pipefail
. "$(dirname "$0")/common.sh"
root=$PATHWICK_ROOT
build=$root/build
. "$root/tests/winecommon.sh"

ensure_packages
build_program fill_bench

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

"$PATHWICK_WINE" "$build/fill_bench.exe" "$@" | tr -d '\r'
