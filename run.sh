#!/usr/bin/env bash
# Builds what is missing and starts Vornix on the embedded demo database:
# its window when a display is there, else its console mode.
#
#   ./run.sh                        the window; without a display, the console
#                                   logged on to the demo database as MAN
#   ./run.sh script.txt             the same, running a script's lines
#   ./run.sh --console [UserId=user/password@database] [script]
#                                   the console mode, asked for
# Any other parameters go to vornix as they are (./run.sh --help).
set -euo pipefail
source "$(dirname "$0")/tools/setup.sh"
vorn_install_packages
vorn_build
# The build's Oracle home (its client library is the embedded server; DEMO is
# its alias of the demo database), unless the caller names another.
export VORN_MACHINE_REGISTRY="${VORN_MACHINE_REGISTRY:-$VORN_BUILD/oracle-home/machine-registry.ini}"
vornix="$VORN_BUILD/bin/vornix"

has_display() {
  [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]
}

wants_console=0
has_userid=0
for argument in "$@"; do
  case "$argument" in
    --console) wants_console=1 ;;
    [Uu][Ss][Ee][Rr][Ii][Dd]=*) has_userid=1 ;;
  esac
done

if [ "$wants_console" = 0 ] && has_display; then
  exec "$vornix" "$@"
fi
# The console mode. Chosen for want of a display and without a logon of the
# caller's, it logs on as MAN to the demo database, whose objects the
# statements of the README query; asked for with --console, it asks for the
# logon on the terminal.
arguments=(--console)
for argument in "$@"; do
  [ "$argument" = --console ] || arguments+=("$argument")
done
if [ "$has_userid" = 0 ] && [ "$wants_console" = 0 ]; then
  arguments+=("UserId=man/man@DEMO")
fi
exec "$vornix" "${arguments[@]}"
