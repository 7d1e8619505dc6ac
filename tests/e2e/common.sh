# shellcheck shell=bash
# Globals set here are read by the scripts that source this file.
# shellcheck disable=SC2034
#
# Shared by the end-to-end scripts (sourced, not run).
#
# Each script gets three arguments: the program's folder (<build>/demo), the
# demo manual's description (demomanual/Struct.txt) and the folder the skin
# was painted into (<build>/demomanual-staging). It works on a private copy of
# the program folder, with its own settings, runtime folder (the one-instance
# lock lives there) and display, and ends everything it started on exit.
# Exit status: 0 passed, 1 failed, 77 skipped (a tool or platform is missing).

set -uo pipefail

if (($# < 3)); then
  echo "usage: $0 DEMO_DIR STRUCT_TXT SKIN_DIR" >&2
  exit 2
fi
demo_source=$1
struct=$2
skin_dir=$3
e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
test_name=$(basename "$0" .sh)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}
skip() {
  echo "SKIP: $*"
  exit 77
}
note() { echo "$test_name: $*"; }
need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 ||
      skip "$tool is not installed (scripts/setup-debian.sh installs what the tests need)"
  done
}
# Debian's own interpreter: a per-user shim in front of it can cost a second
# per call.
if [ -x /usr/bin/python3 ]; then python=/usr/bin/python3; else python=python3; fi
skincheck() { "$python" "$e2e_dir/skincheck.py" "$@"; }

need "$python" convert
[ -x "$demo_source/carmanual" ] || fail "no program at $demo_source/carmanual (build first)"
[ -f "$demo_source/interface.dat" ] || fail "no demo manual at $demo_source/interface.dat"

work=$(mktemp -d /tmp/carmanual-e2e.XXXXXX)
started_pids=()
cleanup() {
  local pid
  for pid in "${started_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for pid in "${started_pids[@]}"; do
    wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT

# Screenshots are kept for a look after the run when a folder is given.
artifacts=${CARMANUAL_E2E_ARTIFACTS:-}
keep_picture() { # FILE NAME
  if [ -n "$artifacts" ]; then
    mkdir -p "$artifacts"
    convert "$1" "$artifacts/$test_name-$2.png" 2>/dev/null || true
  fi
}

# The program runs from a copy, as an installed manual would: its settings,
# lock and any file it writes stay in this test's folders. A sound server
# started for the test run stays reachable through its socket.
prepare_manual() {
  cp -r "$demo_source" "$work/demo"
  program=$work/demo/carmanual
  local pulse_socket=${XDG_RUNTIME_DIR:-/nonexistent}/pulse/native
  if [ -S "$pulse_socket" ] && [ -z "${PULSE_SERVER:-}" ]; then
    export PULSE_SERVER=unix:$pulse_socket
  fi
  mkdir -p "$work/config" "$work/runtime"
  chmod 700 "$work/runtime"
  export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
  export LANG=C.UTF-8 LC_ALL=C.UTF-8
  unset CARMANUAL_NO_OPENING_ANIMATION CARMANUAL_REPORT_FIRST_PAINT
}

# A private X server; -displayfd hands over a free display number, so tests
# running in parallel never race for one.
start_xvfb() {
  need Xvfb xdotool xwininfo xwd
  local fifo=$work/displayfd
  Xvfb -displayfd 3 -screen 0 1024x768x24 -wr -nolisten tcp -noreset 3>"$fifo" 2>"$work/xvfb.log" &
  started_pids+=($!)
  local i number=""
  for ((i = 0; i < 100; i++)); do
    number=$(head -n1 "$fifo" 2>/dev/null)
    [ -n "$number" ] && break
    sleep 0.1
  done
  [ -n "$number" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=:$number
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
  root_window=$(printf '%d' "$(xwininfo -root | awk '/Window id:/ {print $4}')")
  screen_width=1024
  screen_height=768
}

# Starts the program in the background: $program_pid, its output in
# $work/<name>.out and .err.
start_program() { # NAME [ENV=VALUE...]
  local name=$1
  shift
  env "$@" "$program" >"$work/$name.out" 2>"$work/$name.err" &
  program_pid=$!
  started_pids+=("$program_pid")
}

# Waits for a process to end (at most SECONDS) and sets $exit_code; fails
# when it is still running then.
wait_exit() { # PID SECONDS WHAT
  local pid=$1 limit=$2 what=$3 i
  for ((i = 0; i < limit * 10; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    fail "$what: still running after ${limit} s"
  fi
  wait "$pid"
  exit_code=$?
}

# The window's place and size: win_x, win_y, win_width, win_height.
window_geometry() { # WINDOW
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  win_x=$X win_y=$Y win_width=$WIDTH win_height=$HEIGHT
}

# The id of the first visible window of a process (xdotool waits for it).
wait_window() { # PID WHAT
  local id
  id=$(timeout 20 xdotool search --sync --onlyvisible --pid "$1" 2>/dev/null | head -n1)
  if [ -z "$id" ]; then
    kill -0 "$1" 2>/dev/null || fail "$2: the program ended without a window"
    fail "$2: no window within 20 s"
  fi
  echo "$id"
}

# X: the whole screen as a PPM. ImageMagick's import reads what the server
# shows; xwd -root leaves windows mapped after the first one black under
# Xvfb (popup lists, tool tips), so it is only the fallback. Either can fail
# while a window is being destroyed: one more try then.
x_screenshot() { # FILE
  local _
  for _ in 1 2 3; do
    if import -window root -depth 8 "ppm:$1" 2>/dev/null; then
      return 0
    fi
    if xwd -root -silent 2>/dev/null | convert xwd:- "ppm:$1" 2>/dev/null; then
      return 0
    fi
  done
  fail "no screenshot"
}

# The window under a point of the screen, as the X server sees it.
window_at() { # X Y
  local WINDOW=""
  eval "$(xdotool mousemove "$1" "$2" getmouselocation --shell 2>/dev/null | grep '^WINDOW=')"
  echo "$WINDOW"
}

# The screen's background picture as the skin generator painted it (PPM).
skin_picture() { # SCREEN FILE
  local name
  name=$(skincheck screen "$struct" "$1") || fail "$name"
  convert "$skin_dir/$name" "ppm:$2" 2>/dev/null || fail "cannot read the skin picture $skin_dir/$name"
}
