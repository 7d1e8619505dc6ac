#!/usr/bin/env bash
# A document, help or thesaurus window is the whole process: closing it by
# the window manager or by Esc ends the program with status 0. A path that
# holds "/t" or "/h" is a document, not a switch.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
prepare_manual
start_xvfb

mkdir -p "$work/tanya/h"
printf '<html><body><p>Страница</p></body></html>' >"$work/tanya/h/page.htm"
page=$work/tanya/h/page.htm

run_and_close() { # NAME HOW CAPTION ARGS...
  local name=$1 how=$2 caption=$3
  shift 3
  "$program" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  program_pid=$!
  started_pids+=("$program_pid")
  local window
  window=$(wait_window "$program_pid" "$name") || exit 1
  local title
  title=$(xdotool getwindowname "$window")
  [ "$title" = "$caption" ] || fail "$name: the window is captioned «$title», not «$caption»"
  sleep 0.5
  # The window as it is now: the first one mapped may have been replaced.
  window=$(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | head -n1)
  case $how in
    wm) "$python" "$e2e_dir/wmclose.py" "$window" || fail "$name: cannot send the close request to window $window" ;;
    esc) xdotool windowfocus --sync "$window" 2>/dev/null; xdotool key Escape ;;
  esac
  wait_exit "$program_pid" 10 "$name closed by $how"
  [ "$exit_code" = 0 ] || fail "$name: status $exit_code after closing by $how"
  note "$name: «$caption» closed by $how, status 0"
}

run_and_close document wm "Увеличенная картинка" "$page"
run_and_close help wm "Помощь" "$page" /h
run_and_close thesaurus wm "Тезаурус" "$page" /T
run_and_close document-esc esc "Увеличенная картинка" "$page"
echo "PASS"
