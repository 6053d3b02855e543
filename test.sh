#!/usr/bin/env bash
# Builds everything that is out of date and runs every test, in two passes:
#   normal      the normal build (build/), every test
#   sanitizers  the same tests, less those that need a GUI, built with
#               AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/);
#               any report fails the test that made it, leaks included
# FAST=1 ./test.sh skips the sanitizer pass.
# ./test.sh tsan runs only the threaded test programs (vorn_add_test
# THREADED, CTest label "threads") under ThreadSanitizer (build-tsan/).
# The console shows each pass's summary and the output of every test that
# failed; the whole of each pass is in its folder's test.log.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
export QT_QPA_PLATFORM=offscreen

# run_pass <name> <folder> [ctest options...]
run_pass() {
  local name="$1" folder="$2"
  shift 2
  local log="$folder/test.log" status=0 started=$SECONDS
  (cd "$folder" && ctest --output-on-failure --no-tests=error --timeout 600 -j"$(nproc)" "$@") >"$log" 2>&1 ||
    status=$?
  if [ "$status" -eq 0 ]; then
    echo "$name pass ($((SECONDS - started)) s):"
    grep -E "tests passed" "$log"
  else
    grep -v -E "^ *Start +[0-9]+:|^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed " "$log" >&2
    echo "$name pass failed; the whole log is $log" >&2
  fi
  return "$status"
}

vorn_install_packages
status=0
case "${1:-}" in
  tsan)
    vorn_build_tsan
    run_pass "ThreadSanitizer" "$VORN_BUILD-tsan" -L threads || status=$?
    ;;
  "")
    vorn_build
    run_pass "normal" "$VORN_BUILD" || status=$?
    if [ "${FAST:-0}" = 1 ]; then
      echo "sanitizer pass skipped (FAST=1)"
    else
      vorn_build_asan
      run_pass "sanitizer (address, undefined)" "$VORN_BUILD-asan" || status=$?
    fi
    ;;
  *)
    echo "usage: [FAST=1] $0 [tsan]" >&2
    exit 2
    ;;
esac
exit "$status"
