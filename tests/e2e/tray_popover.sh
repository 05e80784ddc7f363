#!/usr/bin/env bash
# The real dropwell with a real tray (trayer), over a temporary home: a click
# on the tray icon opens the popover and starts the model; a file dropped into
# the Inbox shows in the list; selecting it and pressing Keep moves it to Kept.
# Runs inside support/run-in-session (X server and bus of its own).
set -euo pipefail
exe=$(readlink -f "$1")
skip=77

home=$(getent passwd "$(id -un)" | cut -d: -f6)
if [ "$(id -u)" -ne 0 ] || ! unshare --mount true 2>/dev/null; then
  echo "SKIP: needs root and a private mount namespace to put a temporary folder over $home"
  exit $skip
fi
for tool in trayer xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit $skip; }
done

fake_home=$(mktemp -d)
trap 'rm -rf "$fake_home"' EXIT
export exe home fake_home

unshare --mount --propagation private bash -euo pipefail -c '
  mount --bind "$fake_home" "$home"
  export HOME="$home" GSETTINGS_BACKEND=keyfile
  unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME
  wait_for() { # seconds, command...
    local tries=$(( $1 * 20 )); shift
    for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.05; done
    return 1
  }
  fail() { echo "FAIL: $*"; cat "$fake_home/dropwell.log"; exit 1; }

  trayer --edge top --align right --widthtype request --height 32 --transparent false >/dev/null 2>&1 &
  tray=$!
  "$exe" >"$fake_home/dropwell.log" 2>&1 &
  app=$!
  trap "kill $app $tray 2>/dev/null || true" EXIT

  tray_window() { xdotool search --onlyvisible --class trayer 2>/dev/null | head -n1; }
  wait_for 10 tray_window >/dev/null || fail "no tray"
  sleep 1 # the icon docks
  test ! -e "$home/Dropwell" || fail "the model started before the popover was opened"

  eval "$(xdotool getwindowgeometry --shell "$(tray_window)")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  popover_window() { xdotool search --onlyvisible --name "^Dropwell\$" 2>/dev/null | head -n1; }
  wait_for 5 popover_window >/dev/null || fail "the popover did not open"
  wait_for 5 test -d "$home/Dropwell/Inbox" || fail "the model did not start"

  echo "keep me" > "$home/Dropwell/Inbox/keep me.txt"
  wait_for 2 grep -q "keep me.txt" "$home/.local/share/Dropwell/index.json" || fail "not indexed"
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$(popover_window)")"
  xdotool mousemove $((X + 190)) $((Y + 110)) click 1 # the first row
  sleep 0.3
  xdotool mousemove $((X + 37)) $((Y + 475)) click 1 # Keep, first in the footer
  wait_for 3 test -f "$home/Dropwell/Kept/keep me.txt" || fail "Keep did not move the file"
  test ! -e "$home/Dropwell/Inbox/keep me.txt" || fail "the file is still in the Inbox"
  echo PASS
'
