#!/usr/bin/env bash
# The power button of screen 1 (go=exit) closes the program: the window folds
# away with its closing animation, the switch states are saved, and the
# process ends with status 0.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
need identify
prepare_manual
start_xvfb
read -r width height < <(skincheck outline "$struct")
skin_picture 1 "$work/skin1.ppm"

# Shown at once in its shape: a close is refused while the opening
# animation runs, and that is not what this test is about.
start_program exit CARMANUAL_NO_OPENING_ANIMATION=1
window=$(wait_window "$program_pid" "start") || exit 1
window_geometry "$window"
for ((i = 0; i < 30; i++)); do
  x_screenshot "$work/open.ppm"
  skincheck shape "$work/open.ppm" "$struct" --skin "$work/skin1.ppm" --window "$win_x,$win_y" >"$work/shape.txt" && break
  sleep 0.5
done
((i < 30)) || fail "the window never showed its skin: $(cat "$work/shape.txt")"

# The button's place comes from the description, its size from its picture.
read -r button_x button_y picture < <(skincheck button "$struct" 1 exit) ||
  fail "the demo manual has no exit button on screen 1"
read -r button_w button_h < <(identify -format '%w %h\n' "$skin_dir/$picture" 2>/dev/null)
: "${button_w:=8}" "${button_h:=8}"
click_x=$((win_x + button_x + button_w / 2))
click_y=$((win_y + button_y + button_h / 2))
xdotool mousemove "$click_x" "$click_y"
sleep 0.2
xdotool click 1

# Follow the shape until the window is gone: the fold first takes height
# (a horizontal strip), then width.
shapes=()
last=""
for ((i = 0; i < 3000; i++)); do
  extents=$(xwininfo -shape -id "$window" 2>/dev/null | awk '/Window shape extents:/ {print $4; exit}')
  [ -n "$extents" ] || break # the window is destroyed
  if [ "$extents" != "$last" ]; then
    shapes+=("$extents")
    last=$extents
  fi
  kill -0 "$program_pid" 2>/dev/null || break
done
wait_exit "$program_pid" 20 "after the exit button"
[ "$exit_code" = 0 ] || fail "the program ended with status $exit_code: $(cat "$work/exit.err")"
note "exit button: status 0"

# What was seen of the closing animation. Seeing it depends on how the two
# processes were scheduled, so only its order is checked, not its presence.
previous_w=$width
previous_h=$height
steps=0
for s in "${shapes[@]}"; do
  size=${s%%+*}
  w=${size%x*}
  h=${size#*x}
  ((w <= width && h <= height)) || fail "the shape grew past the window while closing: ${shapes[*]}"
  ((h <= previous_h && w <= previous_w)) || fail "the closing shape grew again: ${shapes[*]}"
  ((w == width || h < height)) || fail "the fold took width before height: ${shapes[*]}"
  previous_w=$w
  previous_h=$h
  [ "$size" != "${width}x${height}" ] && steps=$((steps + 1))
done
if ((steps > 0)); then
  note "closing animation: $steps shapes, ${shapes[*]:0:3} ... ${shapes[-1]}"
else
  note "WARNING: the closing animation was not caught (the window was gone first)"
fi

# Closing saves the switch states: the settings of the title hold them.
grep -rqsE 'SwOne|SwGrp' "$XDG_CONFIG_HOME" || fail "no switch states saved under $XDG_CONFIG_HOME"
note "switch states saved"
echo "PASS"
