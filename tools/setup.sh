# Shared by ./test.sh and ./run.sh: installs missing Debian packages (when run
# as root), configures build/ once and builds what is out of date. Quiet when
# there is nothing to do; the build log is shown only when the build fails.

VORN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VORN_BUILD="${VORN_BUILD:-$VORN_ROOT/build}"

VORN_PACKAGES=(cmake ninja-build g++ pkg-config libsqlite3-dev qt6-base-dev
  libgtest-dev libgmock-dev libbenchmark-dev locales)

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
}

vorn_build() {
  local log="$VORN_BUILD/build.log"
  mkdir -p "$VORN_BUILD"
  if [ ! -f "$VORN_BUILD/build.ninja" ]; then
    if ! cmake -S "$VORN_ROOT" -B "$VORN_BUILD" -G Ninja -DVORN_WERROR=ON >"$log" 2>&1; then
      cat "$log" >&2
      echo "Configuring failed." >&2
      return 1
    fi
  fi
  if ! cmake --build "$VORN_BUILD" -- -j"$(nproc)" >"$log" 2>&1; then
    grep -E "error|Error|FAILED" -A3 "$log" | head -80 >&2
    echo "Build failed; the whole log is $log" >&2
    return 1
  fi
}
