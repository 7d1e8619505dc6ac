#!/usr/bin/env bash
# One instance per title: a second start of the same manual ends at once with
# status 0 and shows no window while the first runs; a first instance that
# was killed does not block the next start.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
prepare_manual
start_xvfb

mapped_windows() {
  local id count=0
  for id in $(xwininfo -root -children | awk '$1 ~ /^0x/ {print $1}'); do
    xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' && count=$((count + 1))
  done
  echo "$count"
}

start_program first
first_pid=$program_pid
first_window=$(wait_window "$first_pid" "first start") || exit 1
before=$(mapped_windows)

timeout 20 "$program" >"$work/second.out" 2>"$work/second.err"
code=$?
[ "$code" != 124 ] || fail "the second start did not end within 20 s"
[ "$code" = 0 ] || fail "the second start ended with status $code: $(cat "$work/second.err")"
kill -0 "$first_pid" 2>/dev/null || fail "the first instance ended when the second started"
after=$(mapped_windows)
[ "$after" = "$before" ] || fail "$before windows on the screen before the second start, $after after it"
[ "$(xdotool search --onlyvisible --pid "$first_pid" | head -n1)" = "$first_window" ] ||
  fail "the first instance's window is gone"
note "the second start ended with status 0 and no window"

# A crashed instance leaves its lock behind; the next start takes it over.
kill -KILL "$first_pid"
wait "$first_pid" 2>/dev/null
start_program third
wait_window "$program_pid" "start after a crashed instance" >/dev/null || exit 1
note "a start after a killed instance shows its window"
echo "PASS"
