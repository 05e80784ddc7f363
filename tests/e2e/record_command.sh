#!/usr/bin/env bash
# Key bindings on `dropwell --record display` and `dropwell --stop-recording`:
# the running Dropwell records the screen with the system's sound into an MP4
# in the Inbox and indexes it once it is closed. Runs inside
# support/run-in-audio-session and with-private-home.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
recordings() { find "$inbox" -maxdepth 1 -name 'Screen Recording *.mp4' 2>/dev/null; }
has_recording() { test -n "$(recordings)"; }

"$exe" >"$log" 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true; rm -f "$log"' EXIT
wait_for 10 has_bus_name || fail "Dropwell did not start"
timeout 10 "$exe" --record display || fail "the recording was not handed over"
sleep 2
timeout 10 "$exe" --stop-recording || fail "the stop was not handed over"
wait_for 10 has_recording || fail "no recording in the Inbox"
wait_for 10 grep -q "Screen Recording " "$index" || fail "the recording is not indexed"
file=$(recordings)
streams=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "$file" | sort | tr '\n' ' ')
[ "$streams" = "aac h264 " ] || fail "streams of $file: $streams"
test -z "$(find "$inbox" -maxdepth 1 -name '.*')" || fail "a partial file was left behind"
# FFmpeg came with its module; Poppler, which only PDFs need, did not.
grep -q dropwell-video.so "/proc/$app/maps" || fail "the recording did not load the video module"
! grep -qE 'dropwell-pdf.so|libpoppler' "/proc/$app/maps" || fail "the recording brought in Poppler"
echo PASS
