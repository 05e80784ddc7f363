# Shared by the end-to-end scripts, sourced with the executable's path as $1.

exe=$(readlink -f "$1")
inbox="$HOME/Dropwell/Inbox"
index="$HOME/.local/share/Dropwell/index.json"
# What dropwell said, shown with a failure.
log=$(mktemp)
fail() { echo "FAIL: $*"; cat "$log"; exit 1; }

# wait_for SECONDS COMMAND...: true as soon as COMMAND succeeds.
wait_for() {
  local tries=$(($1 * 20))
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.05
  done
  return 1
}

has_bus_name() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.dropwell.Dropwell | grep -q "boolean true"
}

# screenshots_are N: the Inbox holds N screenshots.
screenshots_are() { test "$(find "$inbox" -maxdepth 1 -name 'Screenshot *.png' 2>/dev/null | wc -l)" -eq "$1"; }
# The tray: trayer, as a panel at the top right, for the one icon it will hold.
start_tray() {
  trayer --edge top --align right --widthtype request --height 32 --transparent false >/dev/null 2>&1 &
  tray=$!
}
tray_window() { xdotool search --onlyvisible --class trayer 2>/dev/null | head -n1; }
# Dropwell's icon sits inside the tray's window.
icon_docked() {
  local window
  window=$(tray_window) && [ -n "$window" ] && xwininfo -tree -id "$window" 2>/dev/null | grep -qi '"dropwell"'
}
click_tray_icon() {
  eval "$(xdotool getwindowgeometry --shell "$(tray_window)")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
}
popover_window() { xdotool search --onlyvisible --name "^Dropwell\$" 2>/dev/null | head -n1; }
