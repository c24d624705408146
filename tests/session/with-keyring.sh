#!/usr/bin/env bash
# Runs a command on a private session bus with its own HOME and runtime
# folder, so nothing touches the user's keyring:
#   with-keyring.sh keyring CMD...  GNOME Keyring's Secret Service, its
#                                   login keyring unlocked with a throwaway
#                                   password from standard input
#   with-keyring.sh none CMD...     a bus on which no Secret Service runs or
#                                   can be started
set -euo pipefail
mode=$1
shift
if [ -z "${QUILLERY_KEYRING_INSIDE:-}" ]; then
  root=$(mktemp -d /tmp/quillery-keyring-XXXXXX)
  trap 'rm -rf "$root"' EXIT
  mkdir -p "$root/home" "$root/run"
  chmod 700 "$root/run"
  export HOME="$root/home" XDG_RUNTIME_DIR="$root/run" QUILLERY_KEYRING_INSIDE=1
  unset DISPLAY DBUS_SESSION_BUS_ADDRESS
  if [ "$mode" = keyring ]; then
    dbus-run-session -- bash "$0" "$mode" "$@"
  else
    # The standard session configuration would start GNOME Keyring on
    # demand; this one knows no services at all.
    cat >"$root/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=$root/run</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
    dbus-run-session --config-file="$root/bus.conf" -- bash "$0" "$mode" "$@"
  fi
  exit
fi
if [ "$mode" = keyring ]; then
  eval "$(printf 'throwaway' | gnome-keyring-daemon --unlock --components=secrets)"
  eval "$(gnome-keyring-daemon --start --components=secrets)"
  export GNOME_KEYRING_CONTROL
fi
exec "$@"
