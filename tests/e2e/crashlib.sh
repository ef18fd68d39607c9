# Shared by the crash tests: make the probe build fail on purpose and read
# what the user and the log get. Sourced after lib.sh.
. "$E2E_HERE/traylib.sh"

CRASH_TEXT="The program has caused an exception and will be terminated.\\nError information has been logged."

# crash_box_up KIND: posts the fault and checks the box, which the program's
# tray icon must not outlast.
crash_box_up() {
  tray_has_icon || fail "no tray icon before fault $1"
  e2e_driver post-registered PathwickDummyWindow PathwickProbeFault "$1" >/dev/null ||
    fail "could not reach the program"
  e2e_driver wait-window '#32770' Error 20000 >/dev/null || fail "no crash box for fault $1"
  expect_contains "$(e2e_driver texts '#32770' Error)" "$CRASH_TEXT" "crash box text"
  ! tray_has_icon || fail "the tray icon stayed while the crash box of fault $1 was up"
}

# close_crash_box KIND: dismisses the box and checks the exit code.
close_crash_box() {
  e2e_screenshot "crash-box-$1" >/dev/null
  e2e_driver press '#32770' Error 2 >/dev/null
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code after fault $1"
}

crash_with() {
  crash_box_up "$1"
  close_crash_box "$1"
}

# The message text of the log lines of the call-stack block of the last run.
last_dump() {
  e2e_log_text | awk '/^----Logging Started Pathwick Pro----$/ { n = 0 } { run[n++] = $0 } END { for (i = 0; i < n; i++) print run[i] }' |
    sed -n '/^\[.\{24\}\]---------------------$/,$p' | sed 's/^\[.\{24\}\]//'
}
