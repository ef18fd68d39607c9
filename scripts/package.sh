#!/usr/bin/env bash
# Builds the release package: dist/pathwick-<version>.zip with the stripped
# program, its help pages and a read-me for Windows users, the installer of
# the same files, dist/pathwick-<version>-setup.exe, and a SHA-256 checksum
# file beside each. package.sh [--no-build] [OUTPUT_DIR] (dist/ by
# default); --no-build packs the program already in build/ (the tests' way).
set -euo pipefail
. "$(dirname "$0")/common.sh"
PATHWICK_PACKAGES+=(zip binutils-mingw-w64-i686 nsis)
. "$PATHWICK_ROOT/tests/winecommon.sh"

if [ "${1:-}" == --no-build ]; then
  shift
else
  ensure_packages
  build_program pathwick
fi

# The one version, which the build also writes into the program.
version=$(head -n 1 "$PATHWICK_ROOT/VERSION")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "no version in VERSION" >&2; exit 1; }

out=$(mkdir -p "${1:-$PATHWICK_ROOT/dist}" && cd "${1:-$PATHWICK_ROOT/dist}" && pwd)
name=pathwick-$version
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"
"$PATHWICK_ARCH"-w64-mingw32-strip -o "$stage/$name/pathwick.exe" "$PATHWICK_ROOT/build/pathwick.exe"
cp -r "$PATHWICK_ROOT/docs" "$stage/$name/docs"
# Windows users open it with Notepad: CRLF line ends.
sed 's/$/\r/' "$PATHWICK_ROOT/scripts/package/README.txt" >"$stage/$name/README.txt"

zip_file=$out/$name.zip
rm -f "$zip_file" "$zip_file.sha256"
# Fixed times and order, so the same sources give the same archive.
find "$stage/$name" -exec touch -d '2026-01-01 00:00:00' {} +
(cd "$stage" && find "$name" | LC_ALL=C sort | zip -q -X -D "$zip_file" -@)
(cd "$out" && sha256sum "$name.zip" >"$name.zip.sha256")

# The installer of the same files. Its folder may hold the user's files
# too: the uninstaller is told which files are the package's, to take away
# those alone, then each of its folders that is left empty, deepest first.
# ("$" is NSIS's escape character.)
uninstall_list=$stage/uninstall.nsh
staged() { (cd "$stage/$name" && find . -mindepth 1 -type "$1" -printf '%P\n' | LC_ALL=C sort "${@:2}"); }
{
  staged f | sed 's/\$/$$/g; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  staged d -r | sed 's/\$/$$/g; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
} >"$uninstall_list"
setup_file=$out/$name-setup.exe
rm -f "$setup_file" "$setup_file.sha256"
makensis -V2 -DVERSION="$version" -DSTAGE="$stage/$name" -DUNINSTALL_LIST="$uninstall_list" \
  -DOUTFILE="$setup_file" "$PATHWICK_ROOT/scripts/package/pathwick.nsi" >/dev/null
(cd "$out" && sha256sum "$name-setup.exe" >"$name-setup.exe.sha256")
printf '%s\n' "$zip_file" "$zip_file.sha256" "$setup_file" "$setup_file.sha256"
