# Shared set-up for scripts/run and scripts/test: packages, display, Wine prefix, builds.
set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="${TOVALI_BUILD:-$ROOT/build}"
NATIVE_BUILD="${TOVALI_NATIVE_BUILD:-$ROOT/build-native}"
export WINEPREFIX="${WINEPREFIX:-$BUILD/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

PACKAGES="cmake ninja-build g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
libz-mingw-w64-dev wine wine64 xvfb xauth x11-utils imagemagick fonts-wqy-microhei clang-14
libclang-rt-14-dev googletest libbenchmark-dev zlib1g-dev xdotool
libstb-dev libmp3lame-dev"

say() { printf '%s\n' "$*" >&2; }

missing_packages() {
  for p in $PACKAGES; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q 'install ok installed' || printf '%s ' "$p"
  done
}

ensure_packages() {
  missing=$(missing_packages)
  [ -z "$missing" ] && return 0
  say "Installing: $missing"
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing >/dev/null
}

XVFB_PID=""
stop_display() { [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true; }

# Starts a virtual display when there is none, so the programs work headless.
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  n=99
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${TOVALI_SCREEN:-1280x1024x24}" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  i=0
  until xdpyinfo >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -gt 100 ] && { say "Xvfb did not start"; exit 1; }
    sleep 0.1
  done
  HEADLESS=1
}

ensure_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "Creating the Wine prefix in $WINEPREFIX (once, about 20 s)"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
}

# A persistent wineserver, with Wine's services started up front and detached
# from our output, keeps each test start at a fraction of a second.
start_wineserver() {
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}
stop_wineserver() { wineserver -k 2>/dev/null || true; }

build_windows() {
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" >/dev/null
  cmake --build "$BUILD" -j "$(nproc)"
}

build_native() {
  CC=clang-14 CXX=clang++-14 cmake -S "$ROOT" -B "$NATIVE_BUILD" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOVALI_SANITIZE=ON >/dev/null
  cmake --build "$NATIVE_BUILD" -j "$(nproc)"
}
