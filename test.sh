#!/usr/bin/env bash
# Builds everything that is out of date and runs every test. The console
# shows the summary, and the output of every test that failed; the whole
# run is in build/test.log.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
vorn_install_packages
vorn_build
cd "$VORN_BUILD"
export QT_QPA_PLATFORM=offscreen
log="$VORN_BUILD/test.log"
status=0
ctest --output-on-failure --timeout 600 -j"$(nproc)" >"$log" 2>&1 || status=$?
if [ "$status" -eq 0 ]; then
  grep -E "tests passed" "$log"
else
  grep -v -E "^ *Start +[0-9]+:|^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed " "$log" >&2
fi
exit "$status"
