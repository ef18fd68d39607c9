#!/usr/bin/env bash
# How folder menu entries look on a real desktop. A folder menu filled from
# a real folder (tests/tools/menushow.cpp) shows for every owner-drawn entry
# its icon and its label on the menu colour, and for folders one black
# arrow; the entry under the mouse is drawn on the highlight colour with a
# white label and a white arrow, and the other entries keep their look.
. "$(dirname "$0")/lib.sh"
e2e_init menu_drawing menushow.exe

entries=$E2E_WORK/entries.txt
(
  cd "$E2E_APP_DIR"
  "$PATHWICK_WINE" "$E2E_APP_DIR/menushow.exe" "$(e2e_winpath "$E2E_WORK")" \
    >>"$E2E_WORK/stdout.txt" 2>>"$E2E_WORK/stderr.txt" || true
) &
e2e_wait_until 30 test -s "$entries" || fail "the folder menu did not come up"
tr -d '\r' <"$entries" >"$entries.unix"

read -r _ menu_colour highlight_colour < <(grep '^colors ' "$entries.unix")
expect_eq "Open Folder|Documents|Music|notes.txt|readme|setup.exe|shortcut.lnk" \
  "$(awk '/^entry / { printf "%s%s", sep, substr($0, index($0, $7)); sep = "|" }' "$entries.unix")" \
  "entries of the menu"
# entry POS: sets L T R B of its screen rectangle.
entry_rect() {
  read -r _ _ L T R B _ < <(grep "^entry $1 " "$entries.unix")
}

pixel() { # FILE X Y: RRGGBB
  convert "$1" -format "%[hex:p{$2,$3}]" info:
}
# FILE W H X Y COLOUR: pixels of the area that are not COLOUR.
count_not() {
  convert "$1" -crop "$2x$3+$4+$5" +repage txt:- | tail -n +2 | grep -vc "#$6" || true
}
# FILE W H X Y COLOUR: pixels of the area that are COLOUR.
count_of() {
  convert "$1" -crop "$2x$3+$4+$5" +repage txt:- | tail -n +2 | grep -c "#$6" || true
}

# What every owner-drawn entry shows: the 16 x 16 icon at (2, 2), not the
# background; the label from 20 pixels in, in COLOUR; the background at
# the right end of the entry.
check_entry() { # FILE POS BACKGROUND TEXTCOLOUR WHAT
  entry_rect "$2"
  [ "$(count_not "$1" 16 16 $((L + 2)) $((T + 2)) "$3")" -gt 30 ] || fail "$5: entry $2 shows no icon"
  [ "$(count_of "$1" 60 $((B - T - 4)) $((L + 20)) $((T + 2)) "$4")" -gt 10 ] || fail "$5: entry $2 shows no label"
  expect_eq "$3" "$(pixel "$1" $((R - 24)) $((B - 2)))" "$5: background of entry $2"
}
# The arrow bitmap's row 7 is black from column 4 to 8; it lies at
# (right - 14, top + 1).
arrow_pixel() { # FILE POS
  entry_rect "$2"
  pixel "$1" $((R - 14 + 6)) $((T + 1 + 7))
}

# shot_with_background NAME COLOUR POS...: a screenshot in which the entries
# at POS show COLOUR at their right end; the file stays in SHOT.
shot_with_background() {
  local name=$1 colour=$2 pos
  shift 2
  SHOT=$(e2e_screenshot "$name")
  for pos in "$@"; do
    entry_rect "$pos"
    [ "$(pixel "$SHOT" $((R - 24)) $((B - 2)))" == "$colour" ] || return 1
  done
}

# The mouse off the menu: no entry selected.
xdotool mousemove 700 600
e2e_wait_until 10 shot_with_background unselected "$menu_colour" 1 2 3 4 5 6 || true
plain=$SHOT
for pos in 1 2 3 4 5 6; do check_entry "$plain" $pos "$menu_colour" 000000 "unselected"; done
for pos in 1 2; do expect_eq 000000 "$(arrow_pixel "$plain" $pos)" "unselected arrow of entry $pos"; done
# Files have no arrow.
expect_eq "$menu_colour" "$(arrow_pixel "$plain" 3)" "arrow place of a file entry"

# The mouse on "Documents" selects it.
entry_rect 1
xdotool mousemove $(((L + R) / 2)) $(((T + B) / 2))
e2e_wait_until 10 shot_with_background selected "$highlight_colour" 1 || true
selected=$SHOT
check_entry "$selected" 1 "$highlight_colour" FFFFFF "selected"
expect_eq FFFFFF "$(arrow_pixel "$selected" 1)" "selected arrow"
# Its neighbours look as before (but for their last columns, which the
# opened submenu's frame overlaps).
for pos in 2 3; do
  entry_rect $pos
  area="$((R - L - 3))x$((B - T))+$L+$T"
  convert "$plain" -crop "$area" +repage "$E2E_WORK/before-$pos.png"
  convert "$selected" -crop "$area" +repage "$E2E_WORK/after-$pos.png"
  expect_eq 0 "$(compare -metric AE "$E2E_WORK/before-$pos.png" "$E2E_WORK/after-$pos.png" null: 2>&1 || true)" \
    "pixels of entry $pos that changed when entry 1 was selected"
done
e2e_click 700 600
