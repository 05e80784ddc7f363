#!/usr/bin/env bash
# The real dropwell started before the panel that hosts the tray, as at a
# login where the panel is slow: Dropwell waits instead of opening its window,
# its icon docks once the tray (trayer) comes up, and a click on the icon opens
# the popover and starts the model; a file dropped into the Inbox shows in the
# list; selecting it and pressing Keep moves it to Kept; a PDF's thumbnail
# loads the PDF module, which goes again when Dropwell idles. Runs inside
# support/run-in-session and with-private-home.
set -euo pipefail
. "$(dirname "$0")/lib.sh"
pdf_module_loaded() { grep -q dropwell-pdf.so "/proc/$app/maps"; }
# What Dropwell does about the tray is logged when asked for.
export QT_LOGGING_RULES="dropwell.tray.info=true"
for tool in trayer xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

"$exe" >"$log" 2>&1 &
app=$!
tray=
trap 'kill $app $tray 2>/dev/null || true; rm -f "$log"' EXIT
wait_for 20 grep -q "waiting up to" "$log" || fail "Dropwell did not wait for a tray"

start_tray
wait_for 10 grep -q "A system tray came up" "$log" || fail "the tray that came up was not noticed"
wait_for 20 icon_docked || fail "the icon did not dock in the tray"
# The tray came within the wait, which ends at most once: the window never
# stands in for the icon now.
! grep -q "No system tray came up" "$log" || fail "Dropwell gave up on the tray"
test -z "$(popover_window)" || fail "the window opened although the tray came"
test ! -e "$HOME/Dropwell" || fail "the model started before the popover was opened"

click_tray_icon
wait_for 5 popover_window >/dev/null || fail "the popover did not open"
wait_for 5 test -d "$HOME/Dropwell/Inbox" || fail "the model did not start"

echo "keep me" >"$HOME/Dropwell/Inbox/keep me.txt"
wait_for 10 grep -q "keep me.txt" "$index" || fail "not indexed"
sleep 0.3
# The first start turned "Start at login" on, and the popover says so above the list.
grep -q "^Exec=.*dropwell" "$HOME/.config/autostart/org.dropwell.Dropwell.desktop" ||
  fail "the first start did not make Dropwell start at login"
eval "$(xdotool getwindowgeometry --shell "$(popover_window)")"
xdotool key ctrl+a # selects the one file
sleep 0.3
xdotool mousemove $((X + 37)) $((Y + 475)) click 1 # Keep, first in the footer
wait_for 10 test -f "$HOME/Dropwell/Kept/keep me.txt" || fail "Keep did not move the file"
test ! -e "$HOME/Dropwell/Inbox/keep me.txt" || fail "the file is still in the Inbox"

# A PDF's thumbnail brings in Poppler's module, and FFmpeg's stays out.
printf '%%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj\n3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 200 300] >> endobj\ntrailer << /Root 1 0 R >>\n%%%%EOF\n' \
  >"$HOME/Dropwell/Inbox/page.pdf"
wait_for 10 pdf_module_loaded || fail "the PDF's thumbnail did not load the PDF module"
! grep -qE 'dropwell-video.so|libavcodec' "/proc/$app/maps" || fail "a PDF brought in FFmpeg"

# Idle half a minute with the popover closed, the module goes (Poppler
# itself stays: the system never unloads a library with C++ symbols that
# must stay unique, as Poppler's are); the next PDF brings it back.
click_tray_icon
wait_for 5 test -z "$(popover_window)" || fail "the popover did not close"
wait_for 60 eval '! pdf_module_loaded' || fail "the PDF module stayed loaded while idle"
click_tray_icon
wait_for 5 popover_window >/dev/null || fail "the popover did not open again"
cp "$HOME/Dropwell/Inbox/page.pdf" "$HOME/Dropwell/Inbox/another page.pdf"
wait_for 10 pdf_module_loaded || fail "the next PDF did not load the PDF module again"
echo PASS
