# Shared by the tray tests: the icon in the notification area and the menus
# it opens, as the user sees them. Sourced after lib.sh.

# Around the program's icon.
TRAY_ICON_AREA=22x22+$((E2E_TRAY_X - 11))+$((E2E_TRAY_Y - 11))
CONFIG_MENU_LAYOUT="TTSTTST"

# tray_shot NAME: a screenshot, and its notification area cropped beside it;
# prints the cropped file.
tray_shot() {
  local shot
  shot=$(e2e_screenshot "$1")
  convert "$shot" -crop "$TRAY_ICON_AREA" +repage "${shot%.png}-tray.png"
  echo "${shot%.png}-tray.png"
}

# The number of pixels in which two images differ.
pixels_differing() {
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

# Whether the shell holds the program's icon (id 0 of its hidden window).
tray_has_icon() {
  e2e_wine "$PATHWICK_BUILD_DIR/traypoke.exe" has PathwickDummyWindow 0 >/dev/null 2>&1
}

tray_forget_icon() {
  e2e_wine "$PATHWICK_BUILD_DIR/traypoke.exe" forget PathwickDummyWindow 0 >/dev/null 2>&1
}

# Waits for exactly one open menu and sets MENU_X, MENU_Y, MENU_W, MENU_H.
wait_single_menu() {
  local menus
  menus=$(e2e_wait_menu "${1:-10}" | tr -d '\r') || fail "${2:-the click} opened no menu"
  [ "$(echo "$menus" | wc -l)" -eq 1 ] || fail "${2:-the click} opened more than one menu: $menus"
  read -r MENU_X MENU_Y MENU_W MENU_H <<<"$menus"
}

# True while at most one menu is open; the menus stay in E2E_MENUS.
at_most_one_menu() {
  E2E_MENUS=$(open_menus)
  [ "$(grep -c . <<<"$E2E_MENUS")" -le 1 ]
}

# The open menu (MENU_*) is over the icon's corner of the screen.
expect_at_icon() { # WHAT
  [ $((MENU_X + MENU_W)) -ge 1000 ] && [ $((MENU_Y + MENU_H)) -ge 740 ] ||
    fail "$1: the menu is not at the icon: $MENU_X $MENU_Y $MENU_W $MENU_H"
}

# No open menu is NOT_WH ("w h") in size; the menus stay in E2E_MENUS.
no_menu_sized() {
  E2E_MENUS=$(open_menus)
  ! awk -v wh="$1" '$3 " " $4 == wh { found = 1 } END { exit !found }' <<<"$E2E_MENUS"
}

# No menu of size NOT_WH opens within SECS seconds.
expect_no_menu_sized() {
  e2e_holds "$2" no_menu_sized "$1" || fail "$3: a menu of the Configuration Menu's size opened ($E2E_MENUS)"
}

dismiss_menu_if_open() {
  [ -z "$(open_menus)" ] || e2e_dismiss_menu
}

# menu_entries NAME: screenshot of the open menu found by wait_single_menu;
# prints its entry bands ("T top bottom" / "S top bottom", menu rows).
menu_entries() {
  local shot
  shot=$(e2e_screenshot "$1")
  convert "$shot" -crop "${MENU_W}x${MENU_H}+${MENU_X}+${MENU_Y}" +repage -depth 8 txt:- |
    awk -f "$E2E_HERE/menubands.awk"
}

# The kinds of the bands, top to bottom ("TTSTTST").
layout_of() {
  echo "$1" | awk '{ printf "%s", $1 }'
}

# click_entry BANDS N: clicks the middle of the Nth band (from 1) of the menu.
click_entry() {
  local top bottom
  read -r _ top bottom <<<"$(echo "$1" | sed -n "${2}p")"
  e2e_click $((MENU_X + MENU_W / 2)) $((MENU_Y + (top + bottom) / 2))
}

# Opens the Configuration Menu with BUTTON, checks its seven entries and
# leaves them in CONFIG_BANDS.
open_config_menu() {
  local button=$1 name=$2
  e2e_tray_click "$button"
  wait_single_menu 10 "button $button on the icon"
  CONFIG_BANDS=$(menu_entries "$name")
  expect_eq "$CONFIG_MENU_LAYOUT" "$(layout_of "$CONFIG_BANDS")" \
    "entries of the Configuration Menu (T text, S separator), see $name.png"
}

# open_menu_by_key EVENT CONFIG_WH CONFIG: the icon's callback with EVENT,
# as the shell sends it for a key, opens one menu: the Configuration Menu
# (CONFIG_WH in size) where CONFIG is 1.
open_menu_by_key() {
  e2e_driver post PathwickDummyWindow 0x401 0 "$1" >/dev/null || fail "could not reach the program"
  wait_single_menu 10 "the callback $1"
  expect_eq "$3" "$([ "$MENU_W $MENU_H" == "$2" ] && echo 1 || echo 0)" \
    "the Configuration Menu opened by the callback $1 (1: it was)"
}

# expect_first_highlighted NAME ROWS: of the open menu (MENU_*), only the
# first entry, within its top ROWS pixels, is on the highlight colour (read
# down the menu a few pixels in from its left edge).
expect_first_highlighted() {
  local colour rows first last
  colour=$(e2e_wine reg query 'HKCU\Control Panel\Colors' /v Hilight | tr -d '\r' |
    awk '$1 == "Hilight" { printf "#%02X%02X%02X", $3, $4, $5 }')
  rows=$(convert "$(e2e_screenshot "$1")" -crop "1x${MENU_H}+$((MENU_X + 6))+${MENU_Y}" +repage -depth 8 txt:- |
    awk -F'[,: ]+' -v c="$colour" 'toupper($0) ~ c { if (f == "") f = $2; l = $2 } END { print f + 0, l + 0 }')
  read -r first last <<<"$rows"
  [ "$last" -gt 0 ] && [ "$first" -le 4 ] && [ "$last" -lt "$2" ] ||
    fail "$1: not just the first entry is highlighted (rows $rows of $colour), see $1.png"
}

# open_folder_menu BUTTON NAME CONFIG_WH: the button opens the Folder Menu,
# which with nothing stored holds one entry, the "C Drive" root; left open.
open_folder_menu() {
  local button=$1 name=$2 config_wh=$3
  e2e_tray_click "$button"
  wait_single_menu 10 "button $button"
  [ "$MENU_W $MENU_H" != "$config_wh" ] || fail "button $button opened the Configuration Menu"
  expect_eq "T" "$(layout_of "$(menu_entries "$name")")" "entries of the Folder Menu with nothing stored"
}
