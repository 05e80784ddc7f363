#!/usr/bin/env bash
# Key bindings on `dropwell --record display` and `dropwell --stop-recording`:
# the running Dropwell records the screen with the system's sound into an MP4
# in the Inbox and indexes it once it is closed. Idle, it unloads FFmpeg,
# and the next recording loads it again. Runs inside
# support/run-in-audio-session and with-private-home.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
recordings() { find "$inbox" -maxdepth 1 -name 'Screen Recording *.mp4' 2>/dev/null; }
recorded() { [ "$(recordings | wc -l)" -ge "$1" ]; }
indexed() { [ "$(grep -o 'Screen Recording [^"/]*\.mp4' "$index" | sort -u | wc -l)" -ge "$1" ]; }
unloaded() { ! grep -qE 'dropwell-video.so|libavcodec' "/proc/$app/maps"; }
# Records for two seconds; the n-th recording must then be in the Inbox,
# indexed, with its picture and its sound.
record() {
  timeout 10 "$exe" --record display || fail "the recording was not handed over"
  sleep 2
  timeout 10 "$exe" --stop-recording || fail "the stop was not handed over"
  wait_for 10 recorded "$1" || fail "recording $1 is not in the Inbox"
  wait_for 10 indexed "$1" || fail "recording $1 is not indexed"
  local file
  file=$(recordings | sort | tail -n1)
  streams=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$file" | sort | tr '\n' ' ')
  [ "$streams" = "aac h264 " ] || fail "streams of $file: $streams"
  test -z "$(find "$inbox" -maxdepth 1 -name '.*')" || fail "a partial file was left behind"
}

# Docked in a tray, so that no window of its own stays open and it idles.
start_tray
"$exe" >"$log" 2>&1 &
app=$!
trap 'kill $app $tray 2>/dev/null || true; rm -f "$log"' EXIT
wait_for 10 has_bus_name || fail "Dropwell did not start"
record 1
# FFmpeg came with its module; Poppler, which only PDFs need, did not.
grep -q dropwell-video.so "/proc/$app/maps" || fail "the recording did not load the video module"
! grep -qE 'dropwell-pdf.so|libpoppler' "/proc/$app/maps" || fail "the recording brought in Poppler"
# Half a minute after the recording, idle, FFmpeg's libraries go.
wait_for 60 unloaded || fail "the video module stayed loaded while idle"
record 2
echo PASS
