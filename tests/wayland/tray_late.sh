#!/usr/bin/env bash
# Dropwell on a Wayland desktop whose bar, the StatusNotifierItem host, comes
# up only after the wait is over: Dropwell's window stands in for the icon,
# and the bar that comes at last still gets the icon.
# Runs inside in-session --build.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
export QT_LOGGING_RULES="dropwell.tray.info=true"
tray_items() {
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null
}
in_tray() { tray_items | grep -q "StatusNotifierItem"; }
no_watcher() { ! gdbus introspect --session --dest org.kde.StatusNotifierWatcher --object-path / >/dev/null 2>&1; }
shown_window() { swaymsg -t get_tree | grep -q '"name": "Dropwell"'; }

pkill -x swaybar || true
wait_for 10 no_watcher || fail "the bar did not go"
"$exe" >"$log" 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true; rm -f "$log"' EXIT
wait_for 40 grep -q "No system tray came up" "$log" || fail "Dropwell did not give up waiting for a tray"
wait_for 10 shown_window || fail "no window stood in for the icon"

swaymsg -q reload # the bar comes back
wait_for 20 in_tray || fail "the late bar got no tray item: $(tray_items)"
kill -0 "$app" || fail "Dropwell ended"
echo PASS
