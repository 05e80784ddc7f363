#!/usr/bin/env bash
# Print Screen on Wayland: from `dropwell --capture visible`, sent to a
# running Dropwell, to the PNG in the Inbox, beside a whole grim process (the
# wlroots desktops' own screenshot tool), on an output showing a picture with
# as much detail as a photograph. Run it in a Wayland session of its own:
#   tests/wayland/in-session --build build bench/wayland_capture.sh [rounds]
set -euo pipefail
. "$(dirname "$0")/lib.sh"
rounds=${2:-7}
now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }
pictures() { { find "$inbox" -maxdepth 1 -name 'Screenshot *.png' 2>/dev/null || true; } | wc -l; }
more_than() { test "$(pictures)" -gt "$1"; }

work=$(mktemp -d)
trap 'kill ${app:-} 2>/dev/null || true; rm -rf "$work" "$log"' EXIT
ffmpeg -v error -f lavfi -i "mandelbrot=size=1920x1080:rate=1" -frames:v 1 "$work/detail.png"
swaymsg -q output HEADLESS-1 bg "$work/detail.png" fill
"$exe" >"$log" 2>&1 &
app=$!
wait_for 10 has_bus_name || fail "Dropwell did not start"
sleep 1 # its tray item and windows settled

ours=()
for round in $(seq 0 "$rounds"); do # the first warms up
  before=$(pictures)
  start=$(now_ms)
  "$exe" --capture visible || fail "the capture was not handed over"
  wait_for 10 more_than "$before" || fail "no screenshot"
  if [ "$round" -gt 0 ]; then ours+=($(($(now_ms) - start))); fi
  sleep 3.5 # the preview gone, as between two presses of a key
done
ours_bytes=$(stat -c %s "$(find "$inbox" -maxdepth 1 -name 'Screenshot *.png' | head -n1)")

theirs=()
for round in $(seq 1 "$rounds"); do
  start=$(now_ms)
  grim "$work/grim-$round.png"
  theirs+=($(($(now_ms) - start)))
done
theirs_bytes=$(stat -c %s "$work/grim-1.png")

ours_median=$(printf '%s\n' "${ours[@]}" | median)
theirs_median=$(printf '%s\n' "${theirs[@]}" | median)
printf 'dropwell --capture visible    median of %d %d ms, %d bytes\n' "$rounds" "$ours_median" "$ours_bytes"
printf 'grim                          median of %d %d ms, %d bytes\n' "$rounds" "$theirs_median" "$theirs_bytes"
