#!/usr/bin/env bash
# With "LeftClickRoot" stored as 0 the buttons swap: the left button (and
# Enter on the icon) opens the Configuration Menu, the right one (and the
# context menu key) the Folder Menu, and a double click still opens one menu
# at most.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
e2e_init tray_swapped

for option in LeftClickRoot RunOnStartup TrayHelpAtStartup SplashScreenAtStartup; do
  store_option "$option" 0
done
e2e_start_program
expect_eq 0 "$(e2e_log_text | grep -c 'loadOptions() failed')" "failures while reading the stored options"

open_config_menu 1 config-menu-left
config_wh="$MENU_W $MENU_H"
e2e_dismiss_menu

open_folder_menu 3 folder-menu-right "$config_wh"
e2e_dismiss_menu

# The keys follow the buttons: Enter on the icon (NIN_KEYSELECT) opens the
# Configuration Menu, the context menu key (WM_CONTEXTMENU) the other one.
open_menu_by_key 0x401 "$config_wh" 1
e2e_dismiss_menu
open_menu_by_key 0x7B "$config_wh" 0
e2e_dismiss_menu

# The first release opens the menu; the second click lands outside it and
# closes it. Nothing may open a second menu.
e2e_tray_click 1 --repeat 2 --delay 120
e2e_holds 2 at_most_one_menu || fail "a double click opened more than one menu: $E2E_MENUS"
e2e_screenshot after-double-click >/dev/null
dismiss_menu_if_open

# Still answering: Exit from the menu of the left button.
open_config_menu 1 config-menu-exit
click_entry "$CONFIG_BANDS" 7
expect_eq 0 "$(e2e_wait_exit 30)" "exit code after Exit"
expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log"
