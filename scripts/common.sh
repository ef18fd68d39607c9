# Shared by the scripts: installing what is missing and building. Sourced.

PATHWICK_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PATHWICK_PACKAGES=(cmake make g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64
  xvfb xdotool imagemagick googletest)

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
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build_tree DIR ARCH [cmake options...]
build_tree() {
  local dir=$1 arch=$2
  shift 2
  cmake -S "$PATHWICK_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PATHWICK_ROOT/cmake/mingw-toolchain.cmake" \
    -DPATHWICK_ARCH="$arch" "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)" -- --no-print-directory >/dev/null
}

# The shipped program: 32-bit, at build/pathwick.exe.
build_program() {
  build_tree "$PATHWICK_ROOT/build" i686
}

# The same sources for x86_64, with the tests, tools and benchmarks: the
# build that runs under 64-bit Wine.
build_test_tree() {
  build_tree "$PATHWICK_ROOT/build/x64" x86_64 -DPATHWICK_BUILD_TESTS=ON
}

# Some hosts run 64-bit code only; there the 32-bit Wine loader cannot start.
host_runs_32bit_wine() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}
