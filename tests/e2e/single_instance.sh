#!/usr/bin/env bash
# The real dropwell executable: the first instance starts and indexes a
# dropped file; a second one asks the first to show its popover and ends;
# without a session bus the lock file still refuses it. Runs inside
# support/run-in-session and with-private-home.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

"$exe" >"$log" 2>&1 &
first=$!
trap 'kill $first 2>/dev/null || true; rm -f "$log"' EXIT
wait_for 10 has_bus_name || fail "the first instance did not take its bus name"
# No tray on this bare X server: once it has waited for one, Dropwell opens
# its window itself, which starts the model.
wait_for 30 test -f "$index" || fail "the model did not start"

echo hello >"$HOME/Dropwell/Inbox/dropped by hand.txt"
# How soon is the benchmarks' to say: a loaded machine may take seconds.
wait_for 10 grep -q "dropped by hand.txt" "$index" || fail "the dropped file never reached the index"

timeout 10 "$exe" || fail "the second instance did not hand over and end"
kill -0 "$first" || fail "the first instance ended"

if DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent timeout 10 "$exe" 2>"$log.third"; then
  fail "a second instance without a bus ran beside the first"
fi
grep -q "already running" "$log.third" || fail "no word why: $(cat "$log.third")"
rm -f "$log.third"
echo PASS
