# Shared by ./test.sh and ./run.sh: installs missing Debian packages (when run
# as root), configures a build folder once and builds what is out of date.
# Quiet when there is nothing to do; the build log is shown only when the
# build fails.
#
# Build folders (all ignored by git):
#   $VORN_BUILD (build/)        the normal build: everything, optimised
#   $VORN_BUILD-asan            the tests under AddressSanitizer and
#                               UndefinedBehaviorSanitizer (no GUI, no
#                               benchmarks)
#   $VORN_BUILD-tsan            the threaded tests under ThreadSanitizer
# ccache speeds rebuilds when the machine has it.

VORN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VORN_BUILD="${VORN_BUILD:-$VORN_ROOT/build}"

# libqt6sql6-sqlite: Qt's SQLite driver, the peer vorn-bench measures the
# library against (its Qt figures are skipped without it).
VORN_PACKAGES=(cmake ninja-build g++ pkg-config libsqlite3-dev qt6-base-dev libedit-dev
  libgtest-dev libgmock-dev libbenchmark-dev libqt6sql6-sqlite locales)

# The filter's case tests need a Latin-1 locale, where locale-aware
# upper-casing and a-z-only upper-casing differ; they are skipped without it.
VORN_TEST_LOCALE="en_US.ISO-8859-1"

vorn_install_locale() {
  locale -a 2>/dev/null | grep -qix 'en_US\.iso88591' && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing locale $VORN_TEST_LOCALE (run as root to generate it); its tests are skipped" >&2
    return 0
  fi
  # Listed in locale.gen, so that a later locale-gen keeps it.
  grep -qx "$VORN_TEST_LOCALE ISO-8859-1" /etc/locale.gen 2>/dev/null ||
    echo "$VORN_TEST_LOCALE ISO-8859-1" >>/etc/locale.gen
  locale-gen >/dev/null 2>&1 ||
    echo "Could not generate $VORN_TEST_LOCALE; its tests are skipped" >&2
}

# Oracle's Node.js driver, for the test that runs it in thick mode over the
# client library (tests/server/thick.cmake). Installed with npm into
# .cache/thick-driver when run as root; without npm, or offline, the test is
# skipped and nothing fails here.
VORN_THICK_DRIVER="oracledb@6.10.0"
VORN_THICK_DRIVER_DIR="$VORN_ROOT/.cache/thick-driver"

vorn_install_thick_driver() {
  [ -f "$VORN_THICK_DRIVER_DIR/node_modules/oracledb/package.json" ] && return 0
  command -v npm >/dev/null || return 0
  [ "$(id -u)" -eq 0 ] || return 0
  mkdir -p "$VORN_THICK_DRIVER_DIR"
  # Offline, npm gives up after one short retry instead of minutes of them.
  if ! timeout 180 npm install --prefix "$VORN_THICK_DRIVER_DIR" --no-save --no-audit --no-fund \
    --fetch-retries=1 --fetch-retry-maxtimeout=10000 --fetch-timeout=30000 --loglevel=error \
    "$VORN_THICK_DRIVER" >"$VORN_THICK_DRIVER_DIR/install.log" 2>&1; then
    echo "Could not install $VORN_THICK_DRIVER (see $VORN_THICK_DRIVER_DIR/install.log); the thick-mode test is skipped" >&2
  fi
  return 0
}

vorn_install_packages() {
  local missing=()
  local pkg
  for pkg in "${VORN_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$pkg")
    fi
  done
  if [ ${#missing[@]} -ne 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "Missing packages: ${missing[*]} (run as root to install them)" >&2
    else
      echo "Installing ${missing[*]}"
      export DEBIAN_FRONTEND=noninteractive
      apt-get update -qq >/dev/null
      apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
    fi
  fi
  vorn_install_locale
  vorn_install_thick_driver
}

# vorn_build_folder <folder> [cmake options...]
# Configures <folder> with the options when it has no build.ninja yet, then
# builds everything in it that is out of date.
vorn_build_folder() {
  local folder="$1"
  shift
  local log="$folder/build.log"
  mkdir -p "$folder"
  if [ ! -f "$folder/build.ninja" ]; then
    local launcher=()
    if command -v ccache >/dev/null; then
      launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
    fi
    if ! cmake -S "$VORN_ROOT" -B "$folder" -G Ninja -DVORN_WERROR=ON "${launcher[@]}" "$@" \
      >"$log" 2>&1; then
      cat "$log" >&2
      echo "Configuring $folder failed." >&2
      return 1
    fi
  fi
  if ! cmake --build "$folder" -- -j"$(nproc)" >"$log" 2>&1; then
    grep -E "error|Error|FAILED" -A3 "$log" | head -80 >&2
    echo "Build failed; the whole log is $log" >&2
    return 1
  fi
}

# The normal build. A folder configured here gets line tables only (-g1):
# backtraces keep their file and line, and the build takes a quarter less
# time than with full debug information.
vorn_build() {
  vorn_build_folder "$VORN_BUILD" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
    "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
}

# Options of the sanitizer builds: no GUI and no benchmarks; -O1 and line
# tables only, which halve the build time against the normal build's
# -O2 -g and keep the reports' stacks readable.
VORN_SANITIZER_OPTIONS=(-DVORN_BUILD_APP=OFF -DVORN_BUILD_BENCH=OFF
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1"
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1")

vorn_build_asan() {
  vorn_build_folder "$VORN_BUILD-asan" -DVORN_SANITIZE=address,undefined \
    "${VORN_SANITIZER_OPTIONS[@]}"
}

vorn_build_tsan() {
  vorn_build_folder "$VORN_BUILD-tsan" -DVORN_SANITIZE=thread "${VORN_SANITIZER_OPTIONS[@]}"
}

# What the sanitizers do on a report: stop the program, so that the test
# fails; leaks count (AddressSanitizer's leak check runs at exit).
export ASAN_OPTIONS="${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
export TSAN_OPTIONS="${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}"
