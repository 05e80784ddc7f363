#!/usr/bin/env bash
# The real dropwell on a desktop whose tray comes up only after the wait is
# over: its window stands in for the icon, once; the user closes it through
# the window manager and a second `dropwell` brings it back; the tray that
# comes at last still gets the icon, which then opens the popover beside it.
# Runs inside support/run-in-session and with-private-home.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
# What Dropwell does about the tray is logged when asked for.
export QT_LOGGING_RULES="dropwell.tray.info=true"
for tool in trayer xdotool xwininfo xprop openbox; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

openbox --sm-disable >"$log" 2>&1 &
wm=$!
tray=
app=
trap 'kill $app $tray $wm 2>/dev/null || true; rm -f "$log"' EXIT
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
wait_for 20 wm_running || fail "openbox did not start"

"$exe" >"$log" 2>&1 &
app=$!
wait_for 30 grep -q "No system tray came up" "$log" || fail "Dropwell did not give up waiting for a tray"
wait_for 5 popover_window >/dev/null || fail "the window did not stand in for the icon"

# The window manager's close key, as a user would press it: again where a
# busy window manager had not yet moved the focus to the window.
closed_by_key() {
  local window
  window=$(popover_window)
  [ -n "$window" ] || return 0
  timeout 10 xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4 >/dev/null 2>&1 || true
  wait_for 2 test -z "$(popover_window)"
}
wait_for 30 closed_by_key || fail "the window could not be closed"
kill -0 "$app" || fail "closing the window ended Dropwell"
# Generous: a Qt program's start took over ten seconds once on a busy machine.
timeout 30 "$exe" || fail "the second dropwell did not hand over"
wait_for 5 popover_window >/dev/null || fail "a second dropwell did not bring the window back"

start_tray
wait_for 10 grep -q "A system tray came up" "$log" || fail "the tray that came up was not noticed"
wait_for 10 icon_docked || fail "the icon did not dock in the tray"
test "$(grep -c "No system tray came up" "$log")" -eq 1 || fail "the window stood in more than once"

click_tray_icon # closes the window that stood in
wait_for 5 test -z "$(popover_window)" || fail "the icon did not close the window"
click_tray_icon
wait_for 5 popover_window >/dev/null || fail "the icon did not open the popover"
eval "$(xdotool getwindowgeometry --shell "$(popover_window)")"
[ "$Y" -lt 100 ] || fail "the popover opened at $X,$Y, not under the tray at the top"
echo PASS
