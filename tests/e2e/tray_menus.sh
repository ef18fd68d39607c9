#!/usr/bin/env bash
# The tray icon and its two menus with nothing stored (default options):
# the right button opens the Configuration Menu with its seven entries, the
# left button opens the Folder Menu (each time it is clicked), a double click
# adds nothing, the keys on the icon open the menus at the icon with their
# first entry selected, the shell's "Properties" of the drive leaves no menu
# behind, "Program Help..." opens the help page beside the program and
# "Exit" ends the program in order.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/menulib.sh"
e2e_init tray_menus

# "Program Help..." opens the page through its file type: here a command
# that notes which file it was given.
opened=$E2E_WORK/opened.txt
e2e_record_type html "$opened"

empty_tray=$(tray_shot before-start)
# Wine traces each call the program makes to the notification area, which
# shows that the program takes its icon away itself: the shell would also
# drop the icon of a window that is gone.
export WINEDEBUG=-all,trace+systray
e2e_start_program
tray_has_icon || fail "the shell does not hold the program's icon"
[ "$(pixels_differing "$empty_tray" "$(tray_shot started)")" != 0 ] || fail "no icon to be seen in the tray"

# A first start finds nothing stored and says so once for each.
log=$(e2e_log_text)
expect_eq 1 "$(grep -c 'loadOptions() failed - (OPTIONS) RegOpenKeyEx() failed' <<<"$log")" "options not found"
expect_eq 1 "$(grep -c 'loadItem() failed - (Name) RegQueryValueEx() failed' <<<"$log")" "end of the stored root list"
# The start-up notice is the window's own menu, nothing for the Folder Menu.
expect_eq 0 "$(grep -c 'handleInitPopup() alert' <<<"$log")" "alerts about the start-up notice's popup"

open_config_menu 3 config-menu-right
config_wh="$MENU_W $MENU_H"
# The menu opens at the cursor, over the icon's corner of the screen.
expect_at_icon "the right button"
e2e_dismiss_menu

# The left button opens the Folder Menu, and does so again once it has closed.
open_folder_menu 1 folder-menu-left "$config_wh"
e2e_dismiss_menu
open_folder_menu 1 folder-menu-again "$config_wh"
e2e_dismiss_menu

# The shell's "Properties" of the drive root, from its "Open Folder" entry:
# no window of the Folder Menu stays on screen, and the menu opens afresh.
open_root 1 drive T
read -r x y <<<"$(band_point "$(top_bands drive-1)" 1)"
xdotool mousemove "$x" "$y"
wait_menus 2 "hovering Open Folder of C:\\"
xdotool click 3
wait_menus 3 "a right-click on Open Folder of C:\\"
ctx=$(top_bands drive-ctx 3)
click_band "$ctx" "$(grep -c . <<<"$ctx")"
e2e_wait_menus 0 0 5 || fail "menus left on screen after Properties of C:\\: $E2E_MENUS"
open_folder_menu 1 folder-menu-after-properties "$config_wh"
e2e_dismiss_menu
expect_eq 0 "$(e2e_log_text | grep -c 'alert')" "alerts after Properties of C:\\"

# A double click on the left button opens no Configuration Menu either.
e2e_tray_click 1 --repeat 2 --delay 120
expect_no_menu_sized "$config_wh" 2 "left double click"
dismiss_menu_if_open
# Only releases open a menu: the tray's messages for a press or a double
# click of either button open none. Under Wine a real double click never
# delivers its double-click message (the menu the first release opened
# takes the second press), so the tray's messages are posted as it sends them.
for mouse_msg in 0x201 0x203 0x204 0x206; do
  e2e_driver post PathwickDummyWindow 0x401 0 "$mouse_msg" >/dev/null || fail "could not reach the program"
  e2e_holds 1 e2e_not e2e_menu_open || fail "the tray message $mouse_msg opened a menu: $E2E_MENUS"
done

# A click comes twice, as its release and then as NIN_SELECT or
# WM_CONTEXTMENU: it opens one menu, and nothing opens once that is closed.
for button in 1 3; do
  e2e_tray_click "$button"
  wait_single_menu 10 "button $button"
  e2e_holds 1 at_most_one_menu || fail "button $button opened more than one menu: $E2E_MENUS"
  e2e_dismiss_menu
  e2e_holds 1 e2e_not e2e_menu_open || fail "a menu opened after button $button's had closed: $E2E_MENUS"
done

# Keys on the icon, delivered as Windows sends them (Wine's notification
# area takes no keyboard focus): Enter is NIN_KEYSELECT, the context menu
# key WM_CONTEXTMENU. Each menu opens at the icon with its first entry
# selected and, closed without a choice, hands the focus back to the
# notification area (NIM_SETFOCUS, counted at the end).
for key_config in "0x401 0" "0x7B 1"; do
  read -r key config <<<"$key_config"
  open_menu_by_key "$key" "$config_wh" "$config"
  expect_at_icon "the callback $key"
  expect_first_highlighted "menu-key-$key" "$((config ? MENU_H / 5 : MENU_H))"
  e2e_dismiss_menu
done

# "Program Help..." opens docs\index.html beside the program.
open_config_menu 3 config-menu-help
click_entry "$CONFIG_BANDS" 1
e2e_wait_until 10 test -s "$opened" || true
expect_eq "$(e2e_winpath "$E2E_APP_DIR/docs/index.html")" "$(tr -d '\r ' <"$opened" 2>/dev/null)" "file opened by Program Help..."
[ -z "$(open_menus)" ] || fail "the menu stayed open after Program Help..."

# "Exit": code 0, the icon taken away by the program, the log ending with
# its stop banner (written after the icon went).
open_config_menu 3 config-menu-exit
click_entry "$CONFIG_BANDS" 7
expect_eq 0 "$(e2e_wait_exit 30)" "exit code after Exit"
calls=$(grep -o 'Shell_NotifyIconW dwMessage = [0-9]*' "$E2E_WORK/stderr.txt" | awk '{ print $NF }' | tr '\n' ' ')
expect_eq "0 4 3 3 2 " "$calls" "calls to the notification area (0 add, 4 version, 3 focus back, 2 delete)"
expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log"
expect_eq 0 "$(pixels_differing "$empty_tray" "$(tray_shot after-exit)")" "pixels of the tray that differ from before the start"
