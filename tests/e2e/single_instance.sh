#!/usr/bin/env bash
# The real dropwell executable, end to end, over a temporary home: the first
# instance starts, indexes a dropped file; a second one asks the first to show
# its popover and ends; without a session bus the lock file still refuses it.
# Runs inside support/run-in-session (X server and bus of its own).
set -euo pipefail
exe=$(readlink -f "$1")
skip=77

home=$(getent passwd "$(id -un)" | cut -d: -f6)
if [ "$(id -u)" -ne 0 ] || ! unshare --mount true 2>/dev/null; then
  echo "SKIP: needs root and a private mount namespace to put a temporary folder over $home"
  exit $skip
fi

fake_home=$(mktemp -d)
trap 'rm -rf "$fake_home"' EXIT
export exe home fake_home

unshare --mount --propagation private bash -euo pipefail -c '
  mount --bind "$fake_home" "$home"
  export HOME="$home"
  unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
  # GSettings in a file of the temporary home, not in the bus'"'"'s dconf.
  export GSETTINGS_BACKEND=keyfile
  index="$home/.local/share/Dropwell/index.json"

  has_owner() {
    dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
      org.freedesktop.DBus.NameHasOwner string:org.dropwell.Dropwell | grep -q "boolean true"
  }
  wait_for() { # seconds, command...
    local tries=$(( $1 * 20 )); shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.05; done
    return 1
  }

  "$exe" >"$fake_home/first.log" 2>&1 &
  first=$!
  trap "kill $first 2>/dev/null || true" EXIT
  wait_for 10 has_owner || { echo "FAIL: the first instance did not take its bus name"; cat "$fake_home/first.log"; exit 1; }
  # No tray on this bare X server: Dropwell opens its window itself, which starts the model.
  wait_for 10 test -f "$index" || { echo "FAIL: the model did not start"; cat "$fake_home/first.log"; exit 1; }
  grep -q "no system tray" "$fake_home/first.log" || { echo "FAIL: no word about the missing tray"; exit 1; }

  echo hello > "$home/Dropwell/Inbox/dropped by hand.txt"
  wait_for 1 grep -q "dropped by hand.txt" "$index" || { echo "FAIL: the dropped file is not in the index within a second"; exit 1; }

  timeout 10 "$exe" || { echo "FAIL: the second instance did not hand over and end"; exit 1; }
  kill -0 "$first" || { echo "FAIL: the first instance ended"; exit 1; }

  if DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent timeout 10 "$exe" 2>"$fake_home/third.log"; then
    echo "FAIL: a second instance without a bus ran beside the first"; exit 1
  fi
  grep -q "already running" "$fake_home/third.log" || { echo "FAIL: no word why"; cat "$fake_home/third.log"; exit 1; }
  echo "PASS"
'
