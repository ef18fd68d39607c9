#!/usr/bin/env bash
# A second copy started while the first is busy: once with the Folder Menu
# open, once with the root list's dialog open. Each time the second copy
# shows its warning and leaves; the first keeps its menu or dialog, opens
# files afterwards, and the stored roots stay as they were.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/menulib.sh"
. "$E2E_HERE/dialoglib.sh"
e2e_init faults_instances

mkdir -p "$E2E_WORK/tree"
touch "$E2E_WORK/tree/known.pwt"
store_root 0000 Browse "$(e2e_winpath "$E2E_WORK/tree/")" 0 25
roots_before=$(stored_root 0000)
use_recorder
e2e_start_program

# second_copy WHAT: starts a second copy, answers its warning, and checks it
# left with 0 and added nothing to the log but its start banner.
second_copy() {
  local rc=0 pid lines
  lines=$(e2e_log_text | wc -l)
  (cd "$E2E_APP_DIR" && exec "$PATHWICK_WINE" "$E2E_APP_DIR/pathwick.exe") &
  pid=$!
  e2e_driver wait-window '#32770' Pathwick 20000 >/dev/null || fail "$1: no warning box for the second copy"
  expect_contains "$(e2e_driver texts '#32770' Pathwick)" \
    "Pathwick is already running.\\nPlease check the system tray." "$1: warning text"
  e2e_screenshot "second-copy-$2" >/dev/null
  e2e_driver press '#32770' Pathwick 2 >/dev/null
  wait "$pid" || rc=$?
  expect_eq 0 "$rc" "$1: exit code of the second copy"
  expect_eq "----Logging Started Pathwick Pro----" "$(e2e_log_text | tail -n +$((lines + 1)))" \
    "$1: what the second copy logged"
}

# The known file opens from the Folder Menu.
open_known() {
  open_root 1 "$1" T
  click_band "$(top_bands "$1-1")" 2
  wait_opened "$(e2e_winpath "$E2E_WORK/tree/known.pwt")"
  wait_menus 0 "$1: the click on known.pwt"
}

# --- with the Folder Menu open ----------------------------------------------
open_root 1 menu T
bands=$(top_bands menu-1)
second_copy "with the Folder Menu open" menu
# The menu stays open behind the warning (under Wine) and still opens files.
wait_menus 2 "the Folder Menu after the second copy"
click_band "$bands" 2
wait_opened "$(e2e_winpath "$E2E_WORK/tree/known.pwt")"
wait_menus 0 "the click on known.pwt after the second copy"

# --- with the root list's dialog open -----------------------------------------
config_command 3 4 "$DLG_EDIT"
second_copy "with a dialog open" dialog
dlg_is_open "$DLG_EDIT" || fail "the dialog closed when the second copy started"
expect_eq "Browse" "$(dlg_row_names)" "the dialog's rows after the second copy"
dlg_close "$DLG_EDIT" $IDOK
open_known after-dialog

expect_eq "$roots_before" "$(stored_root 0000)" "the stored root"
expect_eq 1 "$(stored_names | tr '|' '\n' | grep -c .)" "stored roots"
e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
expect_eq 0 "$(e2e_wait_exit 30)" "exit code of the first copy"
expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log"
expect_eq 1 "$(e2e_log_text | grep -c -- '----Logging Stopped----')" "stop banners"

# --- "Exit" during start-up -------------------------------------------------
# exit_during_start WHAT SPLASH INTRO TITLE [GONE]: starts with the greetings
# chosen and opens the Configuration Menu from the icon while the dialog
# TITLE is up; with GONE, waits until the dialog's time is over and it has
# gone from the screen, the menu still open. "Exit" then: nothing more of
# the start-up shows and the program ends as "Exit" ends it.
exit_during_start() {
  store_option SplashScreenAtStartup "$2"
  store_option TrayHelpAtStartup "$3"
  e2e_launch_program
  e2e_driver wait-window '#32770' "$4" 20000 >/dev/null || fail "no $1 at the start"
  open_config_menu 3 "config-menu-exit-$2$3${5:-}"
  [ -z "${5:-}" ] || e2e_wait_until 10 e2e_prints 0 dlg_count "$4" || fail "$1 stayed on the screen"
  click_entry "$CONFIG_BANDS" 7
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code after Exit while $1 was up"
  expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log after Exit while $1 was up"
}
exit_during_start "the splash" 1 0 ''
exit_during_start "the splash, gone since" 1 1 '' gone
exit_during_start "the introduction" 0 1 "$DLG_HELP"

# --- ended from outside with the edit dialog changed ---------------------------
# Log-off, and the installer closing the hidden window, ask the edit
# dialog's question, as "Exit" does, and end the program in order; "Yes"
# keeps the change.
store_option TrayHelpAtStartup 0
store_root 0001 Second "$(e2e_winpath "$E2E_WORK/tree/")" 0 25
# ended_asking WHAT ORDER COMMAND...: the root list turned into ORDER in the
# edit dialog, COMMAND ends the program.
ended_asking() {
  local what=$1 order=$2
  shift 2
  e2e_start_program
  config_command 3 4 "$DLG_EDIT"
  dlg_click_row 0
  dlg_click "$DLG_EDIT" $IDC_MOVE_DOWN
  expect_soon "$order" "rows after moving row 0 down" dlg_row_names
  "$@" >/dev/null 2>&1 &
  dlg_wait "$DLG_SAVE"
  dlg_click "$DLG_SAVE" $IDYES
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code at $what"
  expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log at $what"
  expect_eq "$order" "$(stored_names)" "stored roots after $what and Yes"
}
ended_asking "the session's end" "Second|Browse" e2e_wine wineboot --end-session
ended_asking "a close of the hidden window" "Browse|Second" e2e_driver post PathwickDummyWindow 0x10 0 0

# A critical shutdown (ENDSESSION_CRITICAL, as Windows sends it) waits for
# nobody: no question, the change not kept, the log says so.
e2e_start_program
config_command 3 4 "$DLG_EDIT"
dlg_click_row 0
dlg_click "$DLG_EDIT" $IDC_MOVE_DOWN
expect_soon "Second|Browse" "rows after moving row 0 down" dlg_row_names
e2e_driver post PathwickDummyWindow 0x11 0 0x40000000 >/dev/null
e2e_wait_log "critical shutdown, the changes are not saved"
expect_stays 0 "questions at a critical shutdown" dlg_count "$DLG_SAVE"
e2e_driver post PathwickDummyWindow 0x16 1 0x40000000 >/dev/null
expect_eq 0 "$(e2e_wait_exit 30)" "exit code at a critical shutdown"
expect_eq "Browse|Second" "$(stored_names)" "stored roots after a critical shutdown"

# --- two copies started at the same instant -----------------------------------
# Neither has made its window when the other looks for it: one still shows
# the warning and leaves with 0, the other runs on with its icon.
start_copy() { e2e_launch_program "" "$E2E_WORK/exit-$1"; }
copy_ended() { [ -s "$E2E_WORK/exit-$1" ]; }
one_copy_ended() { copy_ended a || copy_ended b; }
start_copy a
start_copy b
e2e_driver wait-window '#32770' Pathwick 30000 >/dev/null || fail "no warning box for two copies started together"
e2e_driver press '#32770' Pathwick 2 >/dev/null
e2e_wait_until 20 one_copy_ended || fail "neither of two copies started together left"
if copy_ended a; then refused=a kept=b; else refused=b kept=a; fi
expect_eq 0 "$(cat "$E2E_WORK/exit-$refused")" "exit code of the refused copy"
e2e_pass_startup_dialogs || fail "the kept copy showed no start-up notice"
e2e_dismiss_menu
e2e_holds 2 e2e_not copy_ended "$kept" || fail "the kept copy ended too"
expect_eq 0 "$(dlg_count Pathwick)" "warning boxes left"
tray_has_icon || fail "the kept copy has no icon"
e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
e2e_wait_until 30 copy_ended "$kept" || fail "the kept copy did not end"
expect_eq 0 "$(cat "$E2E_WORK/exit-$kept")" "exit code of the kept copy"
expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log"
