#!/usr/bin/env bash
# With "LeftClickRoot" stored as 0 the buttons swap: the left button opens
# the Configuration Menu, the right one the Folder Menu, and a double click still
# opens one menu at most.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
e2e_init tray_swapped

options='HKCU\Software\Quillmere Software\Pathwick\Options'
for value in LeftClickRoot RunOnStartup TrayHelpAtStartup SplashScreenAtStartup; do
  e2e_wine reg add "$options" /v "$value" /t REG_DWORD /d 0 /f >/dev/null 2>&1
done
e2e_start_program
expect_eq 0 "$(e2e_log_text | grep -c 'loadOptions() failed')" "failures while reading the stored options"

open_config_menu 1 config-menu-left
config_wh="$MENU_W $MENU_H"
e2e_dismiss_menu

open_folder_menu 3 folder-menu-right "$config_wh"
e2e_dismiss_menu

# The first release opens the menu; the second click lands outside it and
# closes it. Nothing may open a second menu.
xdotool mousemove 1013 758 click --repeat 2 --delay 120 1
xdotool mousemove 700 500
for ((i = 0; i < 20; i++)); do
  count=$(open_menus | grep -c . || true)
  [ "$count" -le 1 ] || fail "a double click opened $count menus: $(open_menus)"
  sleep 0.1
done
e2e_screenshot after-double-click >/dev/null
dismiss_menu_if_open

# Still answering: Exit from the menu of the left button.
open_config_menu 1 config-menu-exit
click_entry "$CONFIG_BANDS" 7
expect_eq 0 "$(e2e_wait_exit 30)" "exit code after Exit"
expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log"
