#!/usr/bin/env bash
# Under X the reader opens the manual from the title screen's «Руководство»
# button: the document screen shows a page with its text and picture beside
# the contents tree. A click on a chapter in the tree opens that chapter and
# selects it; the skin's back button returns to the first page and the tree's
# selection follows it back.
# Places are those of the demo skin (demomanual/Struct.txt), in window pixels.
source "$(dirname "$0")/common.sh"
prepare_manual
start_xvfb

start_program first
window=$(wait_window "$program_pid" "start") || exit 1
eval "$(xdotool getwindowgeometry --shell "$window")" # X Y WIDTH HEIGHT
sleep 3 # the opening animation

click() { # X Y (window pixels)
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}
# "r g b" of a window pixel on a fresh screenshot.
pixel() { # X Y
  x_screenshot "$work/shot.ppm"
  convert "$work/shot.ppm" -crop "1x1+$((X + $1))+$((Y + $2))" -depth 8 txt:- |
    sed -n 's/.*(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' | head -n1
}
# The tree's selection colour (colorselect=255,159,28 in the demo skin).
is_selected() { # X Y
  local r g b
  read -r r g b < <(pixel "$1" "$2")
  ((r > 220 && g > 120 && g < 200 && b < 90))
}
# Distinct colours in a window rectangle: text on white gives a few, a
# picture many.
colours_in() { # X Y W H
  convert "$work/shot.ppm" -crop "$3x$4+$((X + $1))+$((Y + $2))" -format '%k' info:
}

# «Руководство»; on a loaded machine the window may still be opening, so
# the click is repeated until the document screen is there.
for ((i = 0; i < 20; i++)); do
  ((i % 5 == 0)) && click 120 434
  sleep 0.5
  is_selected 245 99 && break
done
keep_picture "$work/shot.ppm" page
is_selected 245 99 || fail "the contents tree does not show the first page selected"
page_colours=$(colours_in 380 90 320 150)
text_colours=$(colours_in 274 260 420 100)
note "page picture area: $page_colours colours, text area: $text_colours colours"
((page_colours > 200)) || fail "no picture on the page ($page_colours colours)"
((text_colours > 4)) || fail "no text on the page ($text_colours colours)"

click 134 165 # «1. Тормозная система» in the tree, below «Содержание» and its two pages
# Opening the chapter folds «Содержание»: the chapter's row moves up to the
# second row.
for ((i = 0; i < 20; i++)); do
  is_selected 245 122 && break
  sleep 0.3
done
keep_picture "$work/shot.ppm" chapter
is_selected 245 122 || fail "the chapter clicked in the tree is not selected"

click 740 113 # the skin's back button
for ((i = 0; i < 20; i++)); do
  is_selected 245 99 && ! is_selected 245 122 && break
  sleep 0.3
done
keep_picture "$work/shot.ppm" back
is_selected 245 99 || fail "after going back the tree does not select the first page again"
is_selected 245 122 && fail "after going back the chapter stays selected"

kill -0 "$program_pid" 2>/dev/null || fail "the program ended by itself"
echo "PASS"
