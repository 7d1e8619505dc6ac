#!/usr/bin/env bash
# A bookmark outlives the program however it ends. The reader opens the
# manual, opens the page's menu with a right click, bookmarks the page on the document screen, goes back to the title
# screen (whose lists have no favourites list) and leaves by «Выход». The
# next start shows the bookmark in the favourites list, and SIGTERM keeps it
# as well.
# Places are those of the demo skin (demomanual/Struct.txt), in window pixels.
# shellcheck source=common.sh
source "$(dirname "$0")/common.sh"
prepare_manual
start_xvfb

conf_file() { find "$XDG_CONFIG_HOME/Korrinel" -name '*.conf' 2>/dev/null | head -n1; }
click() { # X Y (window pixels)
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}
# Visible windows of the program: the main window, plus any popup list shown.
visible_windows() { xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null | wc -l; }
open_manual() {
  window=$(wait_window "$program_pid" "$1") || exit 1
  eval "$(xdotool getwindowgeometry --shell "$window")" # X Y WIDTH HEIGHT
  sleep 0.5
  click 40 424 # «Руководство»
  sleep 1.5
}

start_program first CARMANUAL_NO_OPENING_ANIMATION=1
open_manual "first start"
# A right click on the page opens the page's menu; a click elsewhere closes it.
before=$(visible_windows)
xdotool mousemove $((X + 500)) $((Y + 400)) click 3
for ((i = 0; i < 20; i++)); do
  (($(visible_windows) > before)) && break
  sleep 0.2
done
(($(visible_windows) > before)) || fail "a right click on the page opens no menu"
x_screenshot "$work/menu.ppm"
keep_picture "$work/menu.ppm" page-menu
click 729 310 # «Добавить страницу в закладки»
for ((i = 0; i < 30; i++)); do
  grep -q '^Favorite0=' "$(conf_file)" 2>/dev/null && break
  sleep 0.2
done
grep -q '^Favorite0=' "$(conf_file)" || fail "the bookmark was not stored: $(cat "$(conf_file)" 2>/dev/null)"
click 43 62 # «Главное меню»
sleep 1
click 737 476 # «Выход»
wait_exit "$program_pid" 20 "after «Выход»"
[ "$exit_code" = 0 ] || fail "«Выход» ended the program with status $exit_code"
grep -q '^Favorite0=' "$(conf_file)" || fail "the bookmark was lost at exit: $(cat "$(conf_file)")"

start_program second CARMANUAL_NO_OPENING_ANIMATION=1
open_manual "second start"
before=$(visible_windows)
click 729 362 # «Закладки»: a list without entries would not open
for ((i = 0; i < 20; i++)); do
  (($(visible_windows) > before)) && break
  sleep 0.2
done
(($(visible_windows) > before)) || fail "the favourites list does not open: no bookmark in it"
x_screenshot "$work/list.ppm"
keep_picture "$work/list.ppm" favourites
kill -TERM "$program_pid"
wait_exit "$program_pid" 20 "after SIGTERM"
grep -q '^Favorite0=' "$(conf_file)" || fail "the bookmark was lost after SIGTERM: $(cat "$(conf_file)")"

note "the bookmark survived «Выход» from the title screen and SIGTERM"
echo "PASS"
