#!/usr/bin/env bash
# Start-up, the single-instance guard and an orderly end, as the run log and
# the desktop show them.
. "$(dirname "$0")/lib.sh"
e2e_init lifecycle

e2e_start_program
expect_eq "----Logging Started Pathwick Pro----" "$(e2e_log_text | head -n 1)" "first line of a new log"

# A second copy warns and leaves, adding only its start banner.
second_pid_rc=0
(cd "$E2E_APP_DIR" && exec "$PATHWICK_WINE" "$E2E_APP_DIR/pathwick.exe") &
second_pid=$!
e2e_driver wait-window '#32770' Pathwick 20000 >/dev/null || fail "no warning box for the second copy"
box=$(e2e_driver texts '#32770' Pathwick)
expect_contains "$box" "Pathwick is already running.\\nPlease check the system tray." "warning text"
e2e_screenshot second-copy-warning >/dev/null
e2e_driver press '#32770' Pathwick 2 >/dev/null
wait "$second_pid" || second_pid_rc=$?
expect_eq 0 "$second_pid_rc" "exit code of the refused copy"
expect_eq 2 "$(e2e_log_text | grep -c -- '----Logging Started Pathwick Pro----')" "start banners after the refused copy"
expect_eq 0 "$(e2e_log_text | grep -c -- '----Logging Stopped----')" "stop banners while running"

# The first copy is still the one running, and ends in order when its window closes.
e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null || fail "the first copy's window is gone"
expect_eq 0 "$(e2e_wait_exit 30)" "exit code after the window closed"
expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line after an orderly end"
