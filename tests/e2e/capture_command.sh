#!/usr/bin/env bash
# Print Screen bound to `dropwell --capture visible`: the running Dropwell
# writes the screen into the Inbox and indexes it; without a running one,
# Dropwell starts and captures. Runs inside support/run-in-session and
# with-private-home.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

# No Dropwell running: this one starts and captures.
"$exe" --capture visible >"$log" 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true; rm -f "$log"' EXIT
wait_for 10 screenshots_are 1 || fail "the first capture wrote no screenshot"
wait_for 10 grep -q "Screenshot " "$index" || fail "the screenshot is not indexed"

# A running Dropwell is handed the next capture.
timeout 10 "$exe" --capture visible || fail "the second instance did not hand the capture over"
wait_for 5 screenshots_are 2 || fail "the handed-over capture wrote no screenshot"
file=$(find "$inbox" -maxdepth 1 -name 'Screenshot *.png' | head -n1)
head -c 8 "$file" | od -An -c | grep -q "P   N   G" || fail "not a PNG: $file"
# A run where all went well prints nothing of Dropwell's own, not even
# without a tray (this bare session's sound libraries may complain).
! grep -q "^dropwell" "$log" || fail "Dropwell printed something"
echo PASS
