#!/usr/bin/env bash
# Resident memory of dropwell beside a bare Qt tray icon, both docked in a
# real tray: idle a minute after the popover was opened and closed, the same
# after seven captures and a recording, and the peak while recording the
# 1920 x 1080 screen at 30 frames a second. Run it inside a session of its
# own with a sound server:
#   tests/support/run-in-audio-session bench/measure_memory.sh build
# "--smoke" waits seconds instead of a minute and records briefly: for CI,
# to show that the script still runs, not for its figures.
# Dropwell runs in a private mount namespace over a temporary home.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(readlink -f "${1:-build}")
idle=60 recording=20
if [ "${2:-}" = --smoke ]; then idle=3 recording=2; fi
pid=
home=$(mktemp -d)
# Only this run's own Dropwell: other tests may run theirs beside it. Its
# home goes once it has ended, as it writes there until then.
finish() {
  kill $(jobs -p) ${pid:-} 2>/dev/null || true
  [ -n "$pid" ] && while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
  rm -rf "$home"
}
trap finish EXIT

trayer --edge top --align right --widthtype request --height 32 >/dev/null 2>&1 &
sleep 1
mb() { awk -v key="$2:" '$1 == key { printf "%.1f MB", $2 / 1024 }' "/proc/$1/status"; }
# Resident memory, and how much of it is the process's own rather than pages
# of its libraries, which the system shares and can drop at will. Pages that
# other processes map too stay however idle Dropwell is: how many there are
# depends on what else runs beside it.
shared() {
  awk '/^Shared_(Clean|Dirty):/ { kb += $2 } END { printf "%.1f MB", kb / 1024 }' "/proc/$1/smaps_rollup"
}
rss() { echo "$(mb "$1" VmRSS) ($(mb "$1" RssAnon) own, $(mb "$1" RssFile) of files; $(shared "$1") shared with other processes)"; }
# Commands go through the same private home: a launcher that found no
# Dropwell running would otherwise start one over the real home.
dropwell() { DROPWELL_PRIVATE_HOME=$home "$top/tests/e2e/with-private-home" "$build/app/dropwell" "$@"; }
# Ends when the file count in the Inbox reaches $1 (captures are written on
# a worker thread after the command returns).
inbox_holds() {
  for _ in $(seq 200); do
    [ "$(find "$home/Dropwell/Inbox" -maxdepth 1 -type f ! -name '.*' | wc -l)" -ge "$1" ] && return 0
    sleep 0.05
  done
  echo "the Inbox never held $1 files" >&2
  exit 1
}

"$build/bench/bare_tray" &
bare=$!
DROPWELL_PRIVATE_HOME=$home "$top/tests/e2e/with-private-home" "$build/app/dropwell" >/dev/null 2>&1 &
for _ in $(seq 100); do
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
    string:org.dropwell.Dropwell 2>/dev/null | grep -q true && break
  sleep 0.1
done
for candidate in $(pgrep -x dropwell); do
  tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qx "DROPWELL_TEST_FAKE_HOME=$home" && pid=$candidate
done
[ -n "$pid" ] || { echo "dropwell did not start" >&2; exit 1; }
sleep 3 # docked in the tray
echo "bare Qt tray icon:                       $(rss "$bare")"
echo "dropwell, popover never opened:          $(rss "$pid")"

dropwell # opens the popover of the running one
sleep 1
# A click on Dropwell's tray icon (beside the bare one) closes it; without a
# window manager here, a click elsewhere would not take its focus away.
for window in $(xdotool search --onlyvisible --class dropwell); do
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$WIDTH" -lt 64 ] && break
done
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
sleep 0.5
if xdotool search --onlyvisible --name '^Dropwell$' >/dev/null; then
  echo "the popover did not close" >&2
  exit 1
fi
sleep "$idle"
echo "a minute after the popover closed:       $(rss "$pid") (goal: at most 40 MB)"

for n in $(seq 7); do
  dropwell --capture visible
  inbox_holds "$n"
  sleep 1
done
echo 5 > "/proc/$pid/clear_refs" # the peak from here on
dropwell --record display
sleep "$recording"
echo "peak while recording the screen:         $(mb "$pid" VmHWM) (goal: at most 150 MB)"
dropwell --stop-recording
inbox_holds 8
sleep "$idle"
echo "a minute after 7 captures and a recording: $(rss "$pid") (goal: at most 40 MB)"
echo "the files most resident in it:"
# The last filter reads all its input: "head" would leave early, and sort,
# killed by the closed pipe, would fail the script under pipefail.
awk '/^[0-9a-f]+-[0-9a-f]+ / { name = $6 } /^Rss:/ && name ~ /^\// { kb[name] += $2 }
  END { for (n in kb) printf "  %6.1f MB %s\n", kb[n] / 1024, n }' "/proc/$pid/smaps" | sort -rn | awk 'NR <= 12'
