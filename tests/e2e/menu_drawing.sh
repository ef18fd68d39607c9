#!/usr/bin/env bash
# How folder menu entries look on a real desktop, at 100%, 125%, 150% and
# 200% and in a high-contrast scheme. A folder menu filled from a real
# folder (tests/tools/menushow.cpp) shows for every owner-drawn entry its
# icon and its label on the menu colour, and for folders an arrow in the
# text colour; the entry under the mouse is drawn on the highlight colour
# with its label and arrow in the highlight's text colour, and the other
# entries keep their look. At each scale the pictures grow with the DPI and
# every row holds its icon with margins. In white on black, the arrows of a
# folder entry and of the program's root entry show, highlighted or not.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/menulib.sh"
e2e_init menu_drawing menushow.exe
cp "$PATHWICK_BUILD_DIR/pathwick.exe" "$E2E_APP_DIR/"

entries=$E2E_WORK/entries.txt

# show_menu: menushow's menu on screen, its entries and metrics read.
show_menu() {
  rm -f "$entries"
  (
    cd "$E2E_APP_DIR"
    "$PATHWICK_WINE" "$E2E_APP_DIR/menushow.exe" "$(e2e_winpath "$E2E_WORK")" \
      >>"$E2E_WORK/stdout.txt" 2>>"$E2E_WORK/stderr.txt" || true
  ) &
  e2e_wait_until 30 test -s "$entries" || fail "the folder menu did not come up"
  tr -d '\r' <"$entries" >"$entries.unix"
  read -r _ menu_colour highlight_colour text_colour highlight_text < <(grep '^colors ' "$entries.unix")
  read -r _ dpi icon < <(grep '^metrics ' "$entries.unix")
  expect_eq "Open Folder|Documents|Music|notes.txt|readme|setup.exe|shortcut.lnk" \
    "$(awk '/^entry / { printf "%s%s", sep, substr($0, index($0, $7)); sep = "|" }' "$entries.unix")" \
    "entries of the menu"
}

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
scaled() { echo $((($1 * dpi + 48) / 96)); }

# What every owner-drawn entry shows: its icon at the left, not the
# background; the label after it, in COLOUR; the background at the right
# end of the entry.
check_entry() { # FILE POS BACKGROUND TEXTCOLOUR WHAT
  entry_rect "$2"
  local margin text_left
  margin=$(scaled 2)
  text_left=$((margin + icon + margin))
  [ "$(count_not "$1" "$icon" "$icon" $((L + margin)) $((T + (B - T - icon) / 2)) "$3")" -gt 30 ] ||
    fail "$5: entry $2 shows no icon"
  [ "$(count_of "$1" 60 $((B - T - 4)) $((L + text_left)) $((T + 2)) "$4")" -gt 10 ] ||
    fail "$5: entry $2 shows no label"
  expect_eq "$3" "$(pixel "$1" $((R - 24)) $((B - 2)))" "$5: background of entry $2"
}
# FILE POS COLOUR: pixels of COLOUR where the entry's arrow lies, its last
# 16 pixels at 100%.
arrow_pixels() {
  entry_rect "$2"
  local width
  width=$(scaled 16)
  count_of "$1" "$width" $((B - T)) $((R - width)) "$T" "$3"
}
# FILE POS BACKGROUND: "width height" of what is not BACKGROUND in the
# entry's icon cell.
icon_extent() {
  entry_rect "$2"
  convert "$1" -crop "$((icon + 2 * $(scaled 2)))x$((B - T))+$L+$T" +repage -fill white +opaque "#$3" \
    -fill black -opaque "#$3" -negate -trim -format "%w %h" info: 2>/dev/null
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

# draw_checks NAME: the menu unselected, then with "Documents" selected.
draw_checks() {
  local name=$1 pos area
  xdotool mousemove 700 600
  e2e_wait_until 10 shot_with_background "$name-unselected" "$menu_colour" 1 2 3 4 5 6 || true
  plain=$SHOT
  for pos in 1 2 3 4 5 6; do check_entry "$plain" $pos "$menu_colour" "$text_colour" "$name unselected"; done
  for pos in 1 2; do
    [ "$(arrow_pixels "$plain" $pos "$text_colour")" -gt 8 ] || fail "$name: no arrow in the text colour on entry $pos"
  done
  # Files have no arrow.
  expect_eq 0 "$(arrow_pixels "$plain" 3 "$text_colour")" "$name: arrow pixels of a file entry"

  # The mouse on "Documents" selects it.
  entry_rect 1
  xdotool mousemove $(((L + R) / 2)) $(((T + B) / 2))
  e2e_wait_until 10 shot_with_background "$name-selected" "$highlight_colour" 1 || true
  selected=$SHOT
  check_entry "$selected" 1 "$highlight_colour" "$highlight_text" "$name selected"
  [ "$(arrow_pixels "$selected" 1 "$highlight_text")" -gt 8 ] || fail "$name: no arrow on the highlight"
  # Its neighbours look as before (but for their last columns, which the
  # opened submenu's frame overlaps).
  for pos in 2 3; do
    entry_rect $pos
    area="$((R - L - 3))x$((B - T))+$L+$T"
    convert "$plain" -crop "$area" +repage "$E2E_WORK/before-$pos.png"
    convert "$selected" -crop "$area" +repage "$E2E_WORK/after-$pos.png"
    expect_eq 0 "$(compare -metric AE "$E2E_WORK/before-$pos.png" "$E2E_WORK/after-$pos.png" null: 2>&1 || true)" \
      "$name: pixels of entry $pos that changed when entry 1 was selected"
  done
  e2e_click 700 600
}

# --- at 100%, 125%, 150% and 200% ---------------------------------------------
# The folder picture and a file's icon grow with the small-icon size of the
# DPI (within a pixel), and every row holds its icon and margins.
for logpixels in 96 120 144 192; do
  e2e_with_settings $logpixels
  show_menu
  expect_eq "$logpixels $((logpixels / 6))" "$dpi $icon" "DPI and icon size of the entries"
  draw_checks "dpi$logpixels"
  for pos in 1 3; do
    read -r w h <<<"$(icon_extent "$plain" $pos "$menu_colour")"
    if [ "$logpixels" == 96 ]; then
      eval "w96_$pos=$w h96_$pos=$h"
    else
      eval "w96=\$w96_$pos h96=\$h96_$pos"
      ((w >= w96 * icon / 16 - 1 && w <= w96 * icon / 16 + 1 && h >= h96 * icon / 16 - 1 && h <= h96 * icon / 16 + 1)) ||
        fail "at $logpixels dpi the picture of entry $pos is ${w}x$h, at 96 dpi ${w96}x$h96 (see dpi$logpixels-unselected.png)"
    fi
    entry_rect $pos
    ((B - T >= icon + 2 * $(scaled 2))) || fail "at $logpixels dpi row $pos is $((B - T)) pixels high for icons of $icon"
  done
done

# --- white on black -----------------------------------------------------------
# As high-contrast schemes paint menus: the arrows show, in white on the
# menu, in black on the highlight.
e2e_with_settings 96 Menu "0 0 0" MenuText "255 255 255" Hilight "26 235 255" HilightText "0 0 0"
show_menu
expect_eq "000000 1AEBFF FFFFFF 000000" "$menu_colour $highlight_colour $text_colour $highlight_text" "high-contrast colours"
draw_checks contrast

# The program's own root entry, in the same scheme: its arrow on the menu,
# and on the highlight once the pointer opens it.
store_root 0000 Contrast "$(e2e_winpath "$E2E_WORK")" 0 25
e2e_start_program "$(e2e_winpath "$E2E_APP_DIR/pathwick.exe")"
e2e_tray_click
wait_menus 1 "the tray click in white on black"
root=$(e2e_screenshot contrast-root)
L=$TOP_X T=$TOP_Y R=$((TOP_X + TOP_W)) B=$((TOP_Y + TOP_H))
width=$(scaled 16)
[ "$(count_of "$root" "$width" $((B - T)) $((R - width)) "$T" FFFFFF)" -gt 8 ] || fail "no white arrow on the root entry, see contrast-root.png"
xdotool mousemove $(((L + R) / 2)) $(((T + B) / 2))
wait_menus 2 "pointing at the root entry in white on black"
root=$(e2e_screenshot contrast-root-selected)
read -r L T w h <<<"$(sed -n 2p <<<"$E2E_MENUS")"
[ "$(count_of "$root" "$width" "$h" $((L + w - width)) "$T" 000000)" -gt 8 ] ||
  fail "no black arrow on the highlighted root entry, see contrast-root-selected.png"
e2e_dismiss_menu
e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
expect_eq 0 "$(e2e_wait_exit 30)" "exit code in white on black"
