#!/usr/bin/env bash
# SIGTERM (a log-out or shutdown) ends the program the way its exit does:
# status 0 and the switch states written to the settings, as they are when
# the window is closed. A switch state chosen in an earlier run survives.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
prepare_manual
start_xvfb

# A first run makes the settings file (its name is the manual's title).
start_program probe CARMANUAL_NO_OPENING_ANIMATION=1
wait_window "$program_pid" "first start" >/dev/null || exit 1
kill -TERM "$program_pid"
wait_exit "$program_pid" 20 "the first run after SIGTERM"
conf=$(find "$XDG_CONFIG_HOME/Korrinel" -name '*.conf' | head -n1)
[ -n "$conf" ] || fail "no settings file after the first run"
# As if an earlier run had left the chapter group on its third member.
printf '[General]\nSwGrp10=false\nSwGrp12=true\n' >"$conf"

start_program run CARMANUAL_NO_OPENING_ANIMATION=1
wait_window "$program_pid" "start" >/dev/null || exit 1
sleep 0.5
kill -TERM "$program_pid"
wait_exit "$program_pid" 20 "after SIGTERM"
[ "$exit_code" = 0 ] || fail "SIGTERM ended the program with status $exit_code: $(cat "$work/run.err")"

grep -q '^SwGrp12=true$' "$conf" || fail "the stored group choice was lost: $(cat "$conf")"
grep -q '^SwGrp10=false$' "$conf" || fail "the described state came back over the stored one: $(cat "$conf")"
grep -q '^SwOne10=' "$conf" || fail "the switch states were not written at the end: $(cat "$conf")"
note "SIGTERM: status 0, switch states kept"
