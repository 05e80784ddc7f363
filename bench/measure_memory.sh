#!/usr/bin/env bash
# Resident memory of an idle dropwell (popover never opened) beside a bare Qt
# tray icon, both docked in a real tray. Run inside a session of its own:
#   tests/support/run-in-session bench/measure_memory.sh build
# Dropwell runs in a private mount namespace over a temporary home.
set -euo pipefail
build=$(readlink -f "${1:-build}")
fake_home=$(mktemp -d)
trap 'rm -rf "$fake_home"; kill $(jobs -p) 2>/dev/null || true' EXIT
home=$(getent passwd "$(id -un)" | cut -d: -f6)

trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
sleep 1
rss() { awk '/VmRSS/ { printf "%.1f MB", $2 / 1024 }' "/proc/$1/status"; }

"$build/bench/bare_tray" &
bare=$!
unshare --mount --propagation private bash -c "mount --bind '$fake_home' '$home'; HOME='$home' GSETTINGS_BACKEND=keyfile exec '$build/app/dropwell'" >/dev/null 2>&1 &
dropwell_shell=$!
sleep 4
dropwell=$(pgrep -P "$dropwell_shell" dropwell || echo "$dropwell_shell")
echo "bare Qt tray icon: $(rss "$bare")"
echo "idle dropwell, popover closed: $(rss "$dropwell") (goal: at most 40 MB)"
