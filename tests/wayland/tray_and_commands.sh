#!/usr/bin/env bash
# Dropwell on a Wayland desktop, as a user starts it: its tray icon appears in
# the bar as a StatusNotifierItem, and the commands that keys run capture the
# screen and record it through the portals into the Inbox.
# Runs inside in-session --build, whose user has an empty home of its own.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
recordings() { find "$inbox" -maxdepth 1 -name 'Screen Recording *.mp4' 2>/dev/null; }
has_recording() { test -n "$(recordings)"; }
tray_items() {
  gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null
}
in_tray() { tray_items | grep -q "StatusNotifierItem"; }

"$exe" >"$log" 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true; rm -f "$log"' EXIT
wait_for 10 has_bus_name || fail "Dropwell did not start"
wait_for 10 in_tray || fail "no tray item registered with the bar: $(tray_items)"

timeout 10 "$exe" --capture visible || fail "the capture was not handed over"
wait_for 10 screenshots_are 1 || fail "the capture wrote no screenshot"
file=$(find "$inbox" -maxdepth 1 -name 'Screenshot *.png' | head -n1)
size=$(ffprobe -v error -show_entries stream=width,height -of csv=p=0 "$file")
[ "$size" = "1920,1080" ] || fail "the screenshot is $size, not the 1920 x 1080 output"

timeout 10 "$exe" --record display || fail "the recording was not handed over"
sleep 2
timeout 10 "$exe" --stop-recording || fail "the stop was not handed over"
wait_for 20 has_recording || fail "no recording in the Inbox"
streams=$(ffprobe -v error -show_entries stream=codec_name,width,height -of csv=p=0 "$(recordings)" | sort | tr '\n' ' ')
case "$streams" in h264,1920,1080*) ;; *) fail "streams of the recording: $streams" ;; esac
wait_for 5 grep -q "Screen Recording " "$index" || fail "the recording is not indexed"
# The desktop's permission to cast is kept for the next start.
grep -rqs "screenCastRestoreToken=." "${XDG_CONFIG_HOME:-$HOME/.config}" || fail "no restore token kept in the settings"
echo PASS
