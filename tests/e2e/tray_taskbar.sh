#!/usr/bin/env bash
# A re-created taskbar starts without our icon; the program puts it back
# when the shell announces the new taskbar, so it stays reachable.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
e2e_init tray_taskbar

e2e_start_program
tray_has_icon || fail "the shell does not hold the program's icon after start-up"
tray_forget_icon || fail "the shell would not drop the icon"
tray_has_icon && fail "the shell still holds the icon it dropped"
tray_shot icon-dropped >/dev/null

e2e_driver post-registered PathwickDummyWindow TaskbarCreated 0 >/dev/null || fail "could not reach the program"
e2e_wait_until 5 tray_has_icon || fail "the icon did not come back when the taskbar was announced"

open_config_menu 3 config-menu-after-restore
click_entry "$CONFIG_BANDS" 7
expect_eq 0 "$(e2e_wait_exit 30)" "exit code after Exit"
