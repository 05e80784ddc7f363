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
