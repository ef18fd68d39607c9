# Shared by the crash tests: make the probe build fail on purpose and read
# what the user and the log get.

CRASH_TEXT="The program has caused an exception and will be terminated.\\nError information has been logged."

# crash_with KIND: posts the fault, checks the box, dismisses it and checks
# the exit code.
crash_with() {
  e2e_driver post-registered PathwickDummyWindow PathwickProbeFault "$1" >/dev/null ||
    fail "could not reach the program"
  e2e_driver wait-window '#32770' Error 20000 >/dev/null || fail "no crash box for fault $1"
  expect_contains "$(e2e_driver texts '#32770' Error)" "$CRASH_TEXT" "crash box text"
  e2e_screenshot "crash-box-$1" >/dev/null
  e2e_driver press '#32770' Error 2 >/dev/null
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code after fault $1"
}

# The message text of the log lines of the call-stack block of the last run.
last_dump() {
  e2e_log_text | awk '/^----Logging Started Pathwick Pro----$/ { n = 0 } { run[n++] = $0 } END { for (i = 0; i < n; i++) print run[i] }' |
    sed -n '/^\[.\{24\}\]---------------------$/,$p' | sed 's/^\[.\{24\}\]//'
}
