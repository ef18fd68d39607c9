# Shared by the scripts: installing what is missing and building. Sourced.

PATHWICK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# wine32:i386 is what runs the 32-bit program; it needs the i386 architecture.
# The package test builds, unpacks and installs the release (zip, unzip and
# nsis's makensis) and shows its help page in a real browser (chromium). A
# folder that answers slowly is a FUSE file system in Python (fuse3,
# python3-fusepy); names in CJK need a font that holds them (fonts-wqy-zenhei).
PATHWICK_PACKAGES=(cmake make g++-mingw-w64-i686 wine wine32:i386 wine64
  xvfb xdotool imagemagick googletest fonts-wine chromium zip unzip nsis
  fuse3 python3-fusepy fonts-wqy-zenhei)

# Installs only what is missing, so a machine that has everything pays a
# single dpkg query.
ensure_packages() {
  local missing=() pkg
  for pkg in "${PATHWICK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && ensure_64bit_compiler && return 0
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  ensure_64bit_compiler
}

# Where the kernel runs no 32-bit program, the suite runs a 64-bit build
# (tests/winecommon.sh), which needs the 64-bit cross compiler.
ensure_64bit_compiler() {
  . "$PATHWICK_ROOT/tests/winecommon.sh"
  [ "$PATHWICK_ARCH" == x86_64 ] || return 0
  command -v x86_64-w64-mingw32-g++-posix >/dev/null && return 0
  echo "this kernel runs no 32-bit programs: installing the 64-bit compiler to test a 64-bit build"
  apt-get install -y -qq --no-install-recommends g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 >/dev/null
}

# One build tree, build/, for the shipped program (build/pathwick.exe) and,
# with the tests on, the test programs, tools and benchmarks beside it.
# build_program [targets...]: every target when none is named.
build_program() {
  local targets=() t
  for t in "$@"; do targets+=(--target "$t"); done
  . "$PATHWICK_ROOT/tests/winecommon.sh"
  # A tree configured for the other architecture cannot be reconfigured.
  if [ -f "$PATHWICK_ROOT/build/CMakeCache.txt" ] &&
    ! grep -q "^CMAKE_CXX_COMPILER_AR:FILEPATH=.*/$PATHWICK_ARCH-w64-mingw32-" "$PATHWICK_ROOT/build/CMakeCache.txt"; then
    rm -rf "$PATHWICK_ROOT/build"
  fi
  cmake -S "$PATHWICK_ROOT" -B "$PATHWICK_ROOT/build" \
    -DCMAKE_TOOLCHAIN_FILE="$PATHWICK_ROOT/cmake/mingw-toolchain.cmake" -DPATHWICK_BUILD_TESTS=ON >/dev/null
  cmake --build "$PATHWICK_ROOT/build" -j"$(nproc)" "${targets[@]}" -- --no-print-directory >/dev/null
}

# run_e2e_script SCRIPT TARGET...: runs one end-to-end script outside ctest
# (the on-demand soak and pictures): builds the targets it drives and boots
# the template prefix it copies. The caller exports the script's settings.
run_e2e_script() {
  local script=$1
  shift
  ensure_packages
  . "$PATHWICK_ROOT/tests/winecommon.sh"
  build_program "$@"
  local envdir=$PATHWICK_ROOT/build/testenv
  mkdir -p "$envdir"
  (flock 9; wine_boot_template "$envdir/template") 9>"$envdir/template.lock"
  PATHWICK_BUILD_DIR=$PATHWICK_ROOT/build PATHWICK_TEST_ENV_DIR=$envdir \
    bash "$PATHWICK_ROOT/tests/e2e/$script"
}
