#!/usr/bin/env bash
# Without interface.dat the program says so on standard error and in a
# message box naming the folder, and ends with a non-zero status once the
# box is closed.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
prepare_manual
rm -f "$work/demo/interface.dat"
start_xvfb

start_program missing
box=$(wait_window "$program_pid" "missing manual") || exit 1
for ((i = 0; i < 50; i++)); do
  grep -q '^carmanual: ' "$work/missing.err" && break
  sleep 0.1
done
grep -q '^carmanual: .*interface\.dat' "$work/missing.err" ||
  fail "no 'carmanual: ... interface.dat' line on standard error: $(cat "$work/missing.err")"
grep -qF "$work/demo" "$work/missing.err" ||
  fail "the message does not name the folder $work/demo: $(cat "$work/missing.err")"
x_screenshot "$work/box.ppm"
keep_picture "$work/box.ppm" box

# The box's default button closes it.
xdotool windowfocus "$box" 2>/dev/null
xdotool key --clearmodifiers Return
wait_exit "$program_pid" 20 "after the message box was closed"
[ "$exit_code" != 0 ] || fail "the program ended with status 0 without its manual"
note "message on standard error, a box, then status $exit_code"
echo "PASS"
