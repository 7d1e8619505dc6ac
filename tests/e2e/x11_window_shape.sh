#!/usr/bin/env bash
# Under X the program starts on the demo manual: a borderless window of the
# skin's size, centred on the screen, showing screen 1's picture and cut to
# the vertexmain outline: the corners of its rectangle outside the outline
# are not the window's, neither on the screenshot nor for the X server.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
prepare_manual
start_xvfb
read -r width height < <(skincheck outline "$struct")
skin_picture 1 "$work/skin1.ppm"

start_program first
window=$(wait_window "$program_pid" "start") || exit 1
window_geometry "$window"
note "window $window at $win_x,$win_y, ${win_width}x$win_height"
if [ "$win_width" != "$width" ] || [ "$win_height" != "$height" ]; then
  fail "the window is ${win_width}x$win_height, the skin ${width}x$height"
fi
centre_x=$(((screen_width - width) / 2))
centre_y=$(((screen_height - height) / 2))
((win_x >= centre_x - 1 && win_x <= centre_x + 1 && win_y >= centre_y - 1 && win_y <= centre_y + 1)) ||
  fail "the window is at $win_x,$win_y, not centred ($centre_x,$centre_y)"

# The opening animation grows the shape; what it leaves is the outline.
check_shape() {
  x_screenshot "$work/shot.ppm"
  skincheck shape "$work/shot.ppm" "$struct" --skin "$work/skin1.ppm" --window "$win_x,$win_y" >"$work/shape.txt"
}
passed=0
for ((i = 0; i < 30; i++)); do
  if check_shape; then
    passed=1
    break
  fi
  sleep 0.5
done
keep_picture "$work/shot.ppm" screen
((passed)) || fail "$(cat "$work/shape.txt")"
sleep 1 # the animation has surely ended: the same must hold now
check_shape || fail "after the opening animation: $(cat "$work/shape.txt")"
note "$(cat "$work/shape.txt")"

# The X server's own view: which window is under each point.
while read -r kind x y; do
  under=$(window_at $((win_x + x)) $((win_y + y)))
  if [ "$kind" = outside ]; then
    [ "$under" = "$root_window" ] || fail "at $x,$y outside the outline the pointer is over window $under, not the desktop"
  else
    [ "$under" = "$window" ] || fail "at $x,$y inside the outline the pointer is over window $under, not the program's"
  fi
done < <(skincheck probes "$struct")
note "the X server puts the corners outside the outline on the desktop"

kill -0 "$program_pid" 2>/dev/null || fail "the program ended by itself"
echo "PASS"
