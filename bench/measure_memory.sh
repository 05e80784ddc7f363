#!/usr/bin/env bash
# Resident memory of an idle dropwell (popover never opened) beside a bare Qt
# tray icon, both docked in a real tray. Run inside a session of its own:
#   tests/support/run-in-session bench/measure_memory.sh build
# Dropwell runs in a private mount namespace over a temporary home.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(readlink -f "${1:-build}")
trap 'kill $(jobs -p) 2>/dev/null || true; pkill -x dropwell || true' EXIT

trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
sleep 1
rss() { awk '/VmRSS/ { printf "%.1f MB", $2 / 1024 }' "/proc/$1/status"; }

"$build/bench/bare_tray" &
bare=$!
"$top/tests/e2e/with-private-home" "$build/app/dropwell" >/dev/null 2>&1 &
sleep 4
dropwell=$(pgrep -n -x dropwell)
echo "bare Qt tray icon: $(rss "$bare")"
echo "idle dropwell, popover closed: $(rss "$dropwell") (goal: at most 40 MB)"
