#!/usr/bin/env bash
# Under a Wayland compositor (weston, headless) the window's mask only limits
# input, so the shape must come from transparency: the compositor's own
# screenshot shows the skin inside the outline and the desktop's colour in
# the corners of the window's rectangle outside it.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
need weston weston-screenshooter
plugins=(/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so)
[ -f "${plugins[0]}" ] || skip "Qt's Wayland platform plugin is not installed (qt6-wayland)"
prepare_manual
skin_picture 1 "$work/skin1.ppm"

# A desktop of one flat colour that no skin uses, no panel, no animations.
desktop=0,255,0
cat >"$work/weston.ini" <<'INI'
[core]
shell=desktop-shell.so
[shell]
background-color=0xff00ff00
panel-position=none
locking=false
animation=none
close-animation=none
startup-animation=none
INI
socket=wayland-e2e
# --debug offers the screenshot protocol to weston-screenshooter.
weston --backend=headless-backend.so --use-pixman --width=1024 --height=768 \
  --socket="$socket" --config="$work/weston.ini" --idle-time=0 --debug \
  --log="$work/weston.log" >/dev/null 2>&1 &
started_pids+=($!)
weston_pid=$!
for ((i = 0; i < 100; i++)); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  kill -0 "$weston_pid" 2>/dev/null || break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] ||
  skip "weston's headless back end did not start here: $(tail -n 5 "$work/weston.log" 2>/dev/null)"
export WAYLAND_DISPLAY=$socket
unset DISPLAY

mkdir -p "$work/shots"
wayland_screenshot() { # FILE
  rm -f "$work"/shots/*.png
  (cd "$work/shots" && timeout 10 weston-screenshooter) >/dev/null 2>&1 || return 1
  local pngs=("$work"/shots/*.png)
  [ -f "${pngs[0]}" ] && convert "${pngs[0]}" "ppm:$1" 2>/dev/null
}
wayland_screenshot "$work/empty.ppm" ||
  skip "weston-screenshooter cannot take a picture of the headless output"

start_program wayland QT_QPA_PLATFORM=wayland CARMANUAL_REPORT_FIRST_PAINT=1
for ((i = 0; i < 200; i++)); do
  grep -q '^first-paint ' "$work/wayland.err" && break
  kill -0 "$program_pid" 2>/dev/null || break
  sleep 0.1
done
if ! grep -q '^first-paint ' "$work/wayland.err"; then
  grep -qi 'platform plugin' "$work/wayland.err" &&
    skip "Qt cannot use Wayland here: $(head -n 3 "$work/wayland.err")"
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended: $(cat "$work/wayland.err")"
  fail "the window was not painted within 20 s: $(cat "$work/wayland.err")"
fi

# The opening animation grows the shape; what it leaves is the outline.
passed=0
for ((i = 0; i < 30; i++)); do
  if wayland_screenshot "$work/shot.ppm" &&
    skincheck shape "$work/shot.ppm" "$struct" --background "$desktop" --background-outside \
      --skin "$work/skin1.ppm" >"$work/shape.txt"; then
    passed=1
    break
  fi
  sleep 0.5
done
[ -f "$work/shot.ppm" ] && keep_picture "$work/shot.ppm" screen
((passed)) || fail "$(cat "$work/shape.txt" 2>/dev/null)"
note "$(tr '\n' ' ' <"$work/shape.txt")"
kill -0 "$program_pid" 2>/dev/null || fail "the program ended by itself"
echo "PASS"
