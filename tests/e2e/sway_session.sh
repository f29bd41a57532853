# A real Wayland session for end-to-end tests: sway on its headless backend,
# with XWayland, a virtual pointer and keyboard (wayvnc) and, on request, the
# desktop portal. Source it from a test script (bash):
#
#   source "$(dirname "$0")/sway_session.sh"
#   sway_session_start "mode 1280x720"   # the output's settings
#   sway_session_portals                 # PipeWire and the portal, when needed
#   sway_run grim -t png "$dir/screen.png"
#   sway_input move 100 100 press 1 move 300 200 release 1
#
# sway refuses to run as root: as root, the whole session runs as `nobody`
# in an environment of its own (env -i); otherwise as the calling user. The
# session's files live in $SWAY_DIR, which that user owns (it may write
# there); give it whatever else it must write with sway_give. Everything started here is stopped when the
# script exits (sway_session_stop). Waits are on conditions, never on time.
#
# A session that cannot start is a skip (status 77, with the reason) unless
# TAVLO_REQUIRE_ALL_TOOLS=1, where it is a failure.

set -euo pipefail

SWAY_DIR=$(mktemp -d)
chmod 755 "$SWAY_DIR"
SWAY_RT="$SWAY_DIR/runtime"
SWAY_PIDS=()
SWAY_USER_PREFIX=()
SWAY_ENV=()
SWAY_SKIP_STATUS=77
sway_scripts_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

sway_log() { echo "sway: $*" >&2; }

# What the session's programs said, for a failure's report.
sway_report() {
  local log
  for log in "$SWAY_DIR"/*.log; do
    [ -s "$log" ] || continue
    echo "--- the end of $(basename "$log"):"
    tail -n 12 "$log" | sed 's/^/  /'
  done
}

sway_fail() {
  echo "FAIL: $*" >&2
  sway_report >&2
  exit 1
}

# The compositor cannot run here: a skip with its reason, or a failure where
# every tool is required.
sway_cannot_start() {
  if [ "${TAVLO_REQUIRE_ALL_TOOLS:-0}" = 1 ]; then sway_fail "the Wayland session cannot start: $*"; fi
  sway_report >&2
  echo "SKIP: the Wayland session cannot start: $*" >&2
  exit "$SWAY_SKIP_STATUS"
}

# Every process of the session, also those the bus started on demand: they
# all have the session's runtime folder in their environment.
sway_session_processes() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    grep -qzxF "XDG_RUNTIME_DIR=$SWAY_RT" "$environ" 2>/dev/null || continue
    pid=${environ#/proc/}
    echo "${pid%/environ}"
  done
}

sway_session_stop() {
  local pid remaining deadline=$((SECONDS + 10))
  for pid in "${SWAY_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  while remaining=$(sway_session_processes) && [ -n "$remaining" ]; do
    # shellcheck disable=SC2086 # one process id a word
    kill $remaining 2>/dev/null || true
    if [ $SECONDS -ge $deadline ]; then
      kill -KILL $remaining 2>/dev/null || true
      break
    fi
    sleep 0.1
  done
  for pid in "${SWAY_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  [ "${E2E_KEEP:-0}" = 1 ] || rm -rf "$SWAY_DIR"
}
trap sway_session_stop EXIT

# Polls a command until it succeeds; fails after `seconds`.
sway_wait_for() {
  local seconds=$1 what=$2
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || sway_fail "timed out waiting for $what"
    sleep 0.05
  done
}

# Makes files of the test belong to the session's user.
sway_give() {
  [ ${#SWAY_USER_PREFIX[@]} -eq 0 ] || chown -R nobody:nogroup "$@"
}

# Runs a command as the session's user, in the session's environment.
sway_run() {
  "${SWAY_USER_PREFIX[@]}" env -i "${SWAY_ENV[@]}" "$@"
}

# Starts a command of the session in the background; its output goes to
# $SWAY_DIR/NAME.log. Sets SWAY_LAST_PID.
sway_spawn() {
  local name=$1
  shift
  (exec "${SWAY_USER_PREFIX[@]}" env -i "${SWAY_ENV[@]}" "$@" >"$SWAY_DIR/$name.log" 2>&1) &
  SWAY_LAST_PID=$!
  SWAY_PIDS+=("$SWAY_LAST_PID")
}

sway_msg() { sway_run swaymsg "$@"; }

# Whether a name is owned on the session bus.
sway_bus_has() {
  sway_run dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'
}

sway_seat_has_input() {
  # Capabilities 3: a pointer and a keyboard.
  sway_msg -t get_seats | grep -q '"capabilities": 3'
}

# Starts the session bus, sway with one output (`output_settings`, such as
# "mode 2560x1440 scale 2") and XWayland, and the virtual input devices.
# Exports WAYLAND_DISPLAY, DISPLAY and SWAYSOCK for the test's own use.
sway_session_start() {
  local output_settings=${1:-mode 1280x720}
  local tool
  for tool in sway swaymsg wayvnc dbus-daemon Xwayland; do
    command -v "$tool" >/dev/null || sway_cannot_start "$tool is not installed"
  done
  if [ "$(id -u)" = 0 ]; then
    SWAY_USER_PREFIX=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  fi
  mkdir -m 700 "$SWAY_RT" "$SWAY_DIR/home"
  sway_give "$SWAY_DIR"
  SWAY_ENV=(HOME="$SWAY_DIR/home" XDG_RUNTIME_DIR="$SWAY_RT" PATH=/usr/local/bin:/usr/bin:/bin
            LC_ALL="${LC_ALL:-C.UTF-8}" DBUS_SESSION_BUS_ADDRESS="unix:path=$SWAY_RT/bus")

  sway_spawn dbus dbus-daemon --session --address="unix:path=$SWAY_RT/bus" --nofork --nopidfile
  sway_wait_for 10 "the session bus" test -S "$SWAY_RT/bus"

  # The seat's settings belong in the configuration: changed at run time they
  # detach every input device. The cursor hides after a second without
  # motion, so that it is in no picture of the screen.
  cat >"$SWAY_DIR/config" <<EOF
output HEADLESS-1 $output_settings position 0 0 bg #305070 solid_color
xwayland enable
focus_follows_mouse no
seat seat0 attach "*"
seat seat0 hide_cursor 1000
exec sh -c 'env > "\$XDG_RUNTIME_DIR/session.env.tmp" && mv "\$XDG_RUNTIME_DIR/session.env.tmp" "\$XDG_RUNTIME_DIR/session.env"'
EOF
  SWAY_ENV+=(WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman XDG_CURRENT_DESKTOP=sway
             XDG_SESSION_TYPE=wayland)
  sway_spawn sway sway -c "$SWAY_DIR/config"
  local sway_pid=$SWAY_LAST_PID deadline=$((SECONDS + 20))
  until [ -s "$SWAY_RT/session.env" ]; do
    kill -0 "$sway_pid" 2>/dev/null || sway_cannot_start "sway ended at start-up: $(tail -n 3 "$SWAY_DIR/sway.log")"
    [ $SECONDS -lt $deadline ] || sway_cannot_start "sway did not start within 20 s"
    sleep 0.05
  done
  local name
  for name in WAYLAND_DISPLAY DISPLAY SWAYSOCK; do
    local value
    value=$(sed -n "s/^$name=//p" "$SWAY_RT/session.env")
    [ -n "$value" ] || sway_cannot_start "the session has no $name"
    SWAY_ENV+=("$name=$value")
    export "$name=$value"
  done
  sway_wait_for 10 "sway's IPC" sway_msg -t get_version
  sway_run dbus-update-activation-environment DISPLAY WAYLAND_DISPLAY SWAYSOCK XDG_CURRENT_DESKTOP \
    XDG_SESSION_TYPE

  # The headless backend has no input devices: wayvnc makes a virtual
  # pointer and keyboard, driven through its socket (sway_input).
  sway_spawn wayvnc wayvnc --unix-socket "$SWAY_RT/vnc.sock"
  sway_wait_for 10 "the virtual pointer and keyboard" sway_seat_has_input
  sway_log "session up: $output_settings"
}

# PipeWire (without it the wlroots portal backend ends at once) and the
# desktop portal with its wlroots backend; the GTK backend, which offers the
# Access interface the portal needs before it offers Screenshot, is started
# by the bus when the portal asks for it.
sway_session_portals() {
  local tool
  for tool in pipewire /usr/libexec/xdg-desktop-portal /usr/libexec/xdg-desktop-portal-wlr; do
    command -v "$tool" >/dev/null || sway_cannot_start "$tool is not installed"
  done
  sway_spawn pipewire pipewire
  sway_wait_for 15 "PipeWire" test -S "$SWAY_RT/pipewire-0"
  sway_spawn portal-wlr /usr/libexec/xdg-desktop-portal-wlr
  sway_wait_for 15 "the wlroots portal backend" sway_bus_has org.freedesktop.impl.portal.desktop.wlr
  sway_spawn portal /usr/libexec/xdg-desktop-portal -r
  sway_wait_for 15 "the desktop portal" sway_bus_has org.freedesktop.portal.Desktop
}

# Pointer and keys through the virtual devices: a list of steps, "move X Y"
# (the output's physical pixels), "press B", "release B", "click B",
# "key NAME". One connection serves the whole test, so that a button pressed
# in one call is still held in the next; each call returns once wayvnc has
# taken its events.
SWAY_VNC_PID=
sway_input() {
  local reply
  if [ -z "$SWAY_VNC_PID" ]; then
    coproc SWAY_VNC { exec /usr/bin/python3 "$sway_scripts_dir/vnc_input.py" "$SWAY_RT/vnc.sock" -; }
    SWAY_PIDS+=("$SWAY_VNC_PID")
  fi
  echo "$*" >&"${SWAY_VNC[1]}"
  read -r -t 20 reply <&"${SWAY_VNC[0]}" || true
  [ "$reply" = ok ] || sway_fail "the virtual input did not take: $*"
}

# Ends the input's connection (wayvnc drops it when the output's mode
# changes); the next sway_input makes a new one.
sway_input_close() {
  [ -n "$SWAY_VNC_PID" ] || return 0
  exec {SWAY_VNC[1]}>&-
  wait "$SWAY_VNC_PID" 2>/dev/null || true
  SWAY_VNC_PID=
}

# The windows sway shows, one a line: "X Y WIDTH HEIGHT KIND", a tab and the
# title, where X Y WIDTH HEIGHT are the window's own content in layout
# (logical) pixels and KIND is floating, tiled or fullscreen.
sway_windows() {
  sway_msg -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(node, floating):
    for child in node.get("nodes", []):
        walk(child, False)
    for child in node.get("floating_nodes", []):
        walk(child, True)
    if node.get("pid") is None or not node.get("visible", True):
        return
    rect, inner = node["rect"], node["window_rect"]
    kind = "fullscreen" if node.get("fullscreen_mode") else ("floating" if floating else "tiled")
    print(rect["x"] + inner["x"], rect["y"] + inner["y"], inner["width"], inner["height"], kind,
          end="\t" + (node.get("name") or "") + "\n")
walk(json.load(sys.stdin), False)'
}

# The first shown window titled exactly TITLE: "X Y WIDTH HEIGHT KIND".
sway_window() {
  sway_windows | awk -F '\t' -v title="$1" '$2 == title { print $1; exit }'
}
