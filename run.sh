#!/usr/bin/env bash
# Builds what is missing and starts the most useful program the project has:
# Vornix on the embedded demo database, or, without a display, its console
# mode; until Vornix exists, the embedded server's shell on the demo database.
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
vorn_install_packages
vorn_build
export VORN_MACHINE_REGISTRY="${VORN_MACHINE_REGISTRY:-$VORN_BUILD/oracle-home/machine-registry.ini}"
if [ -x "$VORN_BUILD/bin/vornix" ]; then
  exec "$VORN_BUILD/bin/vornix" "$@"
elif [ -x "$VORN_BUILD/bin/vornsql" ]; then
  echo "Vornix is not built yet; starting the server shell on the demo database (type SQL ending in ';')."
  exec "$VORN_BUILD/bin/vornsql" -u scott/tiger "$VORN_BUILD/oracle-home/oradata/DEMO.db" "$@"
else
  echo "Nothing to run yet: the embedded server shell (build/bin/vornsql) is not built." >&2
  exit 1
fi
