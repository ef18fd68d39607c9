#!/usr/bin/env bash
# The size rule of the run log at start-up: a file of exactly 1 MiB is kept
# and appended to; one byte more and it is emptied first.
. "$(dirname "$0")/lib.sh"
e2e_init logsize

make_log_of_size() {
  { printf 'old first line\r\n'; head -c $(($1 - 18)) /dev/zero | tr '\0' 'x'; printf '\r\n'; } >"$E2E_APP_DIR/run.log"
  expect_eq "$1" "$(stat -c %s "$E2E_APP_DIR/run.log")" "prepared log size"
}

run_once() {
  e2e_start_program
  e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code"
}

make_log_of_size 1048576
run_once
expect_eq "old first line" "$(e2e_log_text | head -n 1)" "a log of exactly 1048576 bytes is kept"
[ "$(stat -c %s "$E2E_APP_DIR/run.log")" -gt 1048576 ] || fail "the kept log was not appended to"
expect_eq "----Logging Started Pathwick Pro----" "$(e2e_log_text | sed -n 3p)" "new run appended"

make_log_of_size 1048577
run_once
expect_eq "----Logging Started Pathwick Pro----" "$(e2e_log_text | head -n 1)" "a log of 1048577 bytes is emptied first"
expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the emptied log after one run"
expect_eq 1 "$(e2e_log_text | grep -c -- '^----Logging Started')" "start banners in the emptied log after one run"
