#!/usr/bin/env bash
# `dropwell` typed anywhere: help, the version and mistakes are answered
# without a display or a bus; what needs a display says so in one line; and a
# command for the running Dropwell needs only the bus, never a display of its
# own. Runs inside support/run-in-session and with-private-home.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$log" "$out" "$err"' EXIT

# expect STATUS COMMAND...: runs COMMAND with its output in $out and $err.
expect() {
  local want=$1 got=0
  shift
  timeout 20 "$@" >"$out" 2>"$err" || got=$?
  [ "$got" -eq "$want" ] || fail "'${*: -1}' exited with $got, not $want: $(cat "$err")"
}
says_in_one_line() {
  [ "$(wc -l <"$err")" -eq 1 ] || fail "not one line on stderr: $(cat "$err")"
  grep -qF -- "$1" "$err" || fail "stderr does not say '$1': $(cat "$err")"
}
# No desktop at all: neither a display nor a bus.
bare=(env -i PATH="$PATH" HOME="$HOME" "$exe")
# The session's bus, but no display.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$exe")
# A display that cannot be opened.
display_nowhere=(env -u WAYLAND_DISPLAY DISPLAY=:nowhere "$exe")

expect 0 "${bare[@]}" --help
for word in --capture --record --stop-recording --version --help "Exit status" "  2  "; do
  grep -qF -- "$word" "$out" || fail "--help does not mention $word"
done
test ! -s "$err" || fail "--help wrote to stderr: $(cat "$err")"
expect 0 "${bare[@]}" --version
grep -qx "Dropwell [0-9]*\.[0-9]*\.[0-9]*" "$out" || fail "--version printed: $(cat "$out")"

while IFS='|' read -r mistake answer; do
  # shellcheck disable=SC2086 # the words of the mistake
  expect 2 "${bare[@]}" $mistake </dev/null
  says_in_one_line "$answer"
done <<'MISTAKES'
--bogus|Unknown option 'bogus'
--capture nonsense|--capture takes visible, region, window or page, not 'nonsense'
--record sideways|--record takes display or window, not 'sideways'
--record|Missing value after '--record'
--capture region --stop-recording|one at a time
region|Unexpected argument 'region'
MISTAKES

# Nothing runs yet, so these have to start Dropwell, and cannot.
for command in "--capture region" "--record display" ""; do
  # shellcheck disable=SC2086 # the empty command is a plain start
  expect 1 "${no_display[@]}" $command
  says_in_one_line "no display to show Dropwell on"
done
expect 1 "${bare[@]}"
says_in_one_line "no display to show Dropwell on"
expect 1 "${display_nowhere[@]}" --capture visible
says_in_one_line "cannot show Dropwell on this display"
expect 1 "${no_display[@]}" --stop-recording
says_in_one_line "Dropwell is not running, so there is no recording to stop."
expect 1 "${bare[@]}" --stop-recording
says_in_one_line "no session bus"
test ! -e "$HOME/Dropwell" -a ! -e "$HOME/.local/share/Dropwell" || fail "a Dropwell that could not start made its folders"

# A Dropwell on the session's display takes commands from processes that have
# no display, or one that cannot be opened: handing over needs the bus only.
"$exe" >"$log" 2>&1 &
app=$!
trap 'kill $app 2>/dev/null || true; rm -f "$log" "$out" "$err"' EXIT
wait_for 10 has_bus_name || fail "Dropwell did not start"
expect 0 "${display_nowhere[@]}" --capture visible
wait_for 10 screenshots_are 1 || fail "the capture handed over without a display wrote no screenshot"
expect 0 "${no_display[@]}"
test ! -s "$err" || fail "the handover said: $(cat "$err")"
kill -0 "$app" || fail "the running Dropwell ended"
echo PASS
