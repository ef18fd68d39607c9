# Shared by the scripts: installing what is missing and building. Sourced.

PATHWICK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# wine32:i386 is what runs the 32-bit program; it needs the i386 architecture.
PATHWICK_PACKAGES=(cmake make g++-mingw-w64-i686 wine wine32:i386 wine64
  xvfb xdotool imagemagick googletest fonts-wine)

# Installs only what is missing, so a machine that has everything pays a
# single dpkg query.
ensure_packages() {
  local missing=() pkg
  for pkg in "${PATHWICK_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# One build tree, build/, for the shipped program (build/pathwick.exe) and,
# with the tests on, the test programs, tools and benchmarks beside it.
# build_program [targets...]: every target when none is named.
build_program() {
  local targets=() t
  for t in "$@"; do targets+=(--target "$t"); done
  cmake -S "$PATHWICK_ROOT" -B "$PATHWICK_ROOT/build" \
    -DCMAKE_TOOLCHAIN_FILE="$PATHWICK_ROOT/cmake/mingw-toolchain.cmake" -DPATHWICK_BUILD_TESTS=ON >/dev/null
  cmake --build "$PATHWICK_ROOT/build" -j"$(nproc)" "${targets[@]}" -- --no-print-directory >/dev/null
}
