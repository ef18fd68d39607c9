#!/usr/bin/env bash
# A failed assertion, an access violation and an integer division by zero
# each end in the call-stack block, the crash box and exit code 0.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/crashlib.sh"
e2e_init crash pathwick_probe.exe

check_block() {
  local kind=$1 message=$2 innermost=$3
  e2e_start_program
  crash_with "$kind"
  local dump
  dump=$(last_dump)
  expect_eq "---------------------" "$(echo "$dump" | sed -n 1p)" "block opening ($message)"
  expect_eq "$message:" "$(echo "$dump" | sed -n 2p)" "block message"
  expect_eq "CallStack Trace:" "$(echo "$dump" | sed -n 3p)" "block heading ($message)"
  expect_contains "$(echo "$dump" | sed -n 4p)" "$innermost" "innermost frame ($message)"
  expect_contains "$(echo "$dump" | sed -n 4p)" "    " "frame indent"
  # Then the functions that called it, outward.
  expect_contains "$(echo "$dump" | sed -n 5,6p)" ": void {anonymous}::triggerFault(HWND, WPARAM)" "caller frames ($message)"
  expect_contains "$(echo "$dump" | tail -n 3 | head -n 1)" "probeWindowProc(HWND, UINT, WPARAM, LPARAM)" "window procedure frame ($message)"
  expect_contains "$(echo "$dump" | tail -n 2 | head -n 1)" "main.cpp:" "outermost frame, the message loop ($message)"
  expect_eq "---------------------" "$(echo "$dump" | tail -n 1)" "block closing ($message)"
}

check_block 1 "SIGABRT CAUGHT:  ASSERT FAILED" "log.cpp:"
expect_contains "$(echo "$(last_dump)" | sed -n 4p)" ": void SLog::write(int, const char*, ...)" "assertion raised in the log writer"
expect_contains "$(cat "$E2E_WORK/stderr.txt")" "rlpszMsg != NULL" "the runtime's report of the assertion"
check_block 2 "SIGSEGV CAUGHT:  SEGMENTATION FAULT" "fault_probe.cpp:"
expect_contains "$(echo "$(last_dump)" | sed -n 4p)" ": void {anonymous}::violateAccess()" "access violation frame"
check_block 3 "SIGFPE CAUGHT:  FLOATING POINT EXCEPTION" "fault_probe.cpp:"
expect_contains "$(echo "$(last_dump)" | sed -n 4p)" ": void {anonymous}::divideByZero()" "division frame"
# Three crashed runs: no stop banner at all.
expect_eq 0 "$(e2e_log_text | grep -c -- '----Logging Stopped----')" "stop banners after crashes"
expect_eq 3 "$(e2e_log_text | grep -c -- '----Logging Started Pathwick Pro----')" "start banners"
