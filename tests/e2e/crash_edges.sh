#!/usr/bin/env bash
# The log and crash handlers at their limits: an over-long message, a stack
# deeper than the tracked arrays, another module's owner-drawn menu entry, a
# fault on another thread, a log file that cannot be opened, a second fault
# while the crash box is up, a fault in the crash handling itself, one while
# the heaps' locks are held and one on the crash box's own thread.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/crashlib.sh"
e2e_init crash_edges pathwick_probe.exe

# A message of 5,000 characters is cut to 1023; the program goes on.
e2e_start_program
e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 4 >/dev/null
e2e_wait_log "probe after long line"
long_line=$(e2e_log_text | grep 'probe long line: ' | sed 's/^\[.\{24\}\]//')
expect_eq 1023 "${#long_line}" "length of the cut message"
expect_eq "probe long line: L" "${long_line:0:18}" "start of the cut message"

# Frames past the tracked depth are counted; the stored ones are listed.
crash_with 5
dump=$(last_dump)
# The message loop, the probe's window procedure and dispatcher, 563
# descending frames and the faulting one: 567, of which 512 are stored.
expect_eq "    (55 deeper frames not recorded)" "$(echo "$dump" | sed -n 4p)" "count of unrecorded frames"
expect_contains "$(echo "$dump" | sed -n 5p)" "descendAndViolate(int)" "innermost stored frame"
expect_eq $((4 + 1 + 512)) "$(echo "$dump" | wc -l)" "lines of the deep block"

# An owner-drawn entry of another module's (its id without bit 0x8000, its
# data not one of the program's entries) is left alone: no fault.
e2e_start_program
e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 6 >/dev/null
e2e_wait_log "probe foreign entry answered" || fail "the probe's foreign entry was not answered"
expect_eq "" "$(last_dump)" "the crash block after the foreign entry"
e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
expect_eq 0 "$(e2e_wait_exit 30)" "exit code after the foreign entry"

# A fault on another thread of the process is reported without the user
# interface thread's frames, which are not the faulting thread's.
e2e_start_program
crash_with 7
dump=$(last_dump)
expect_eq "SIGSEGV CAUGHT:  SEGMENTATION FAULT:" "$(echo "$dump" | sed -n 2p)" "message of the fault on another thread"
expect_contains "$(echo "$dump" | sed -n 4p)" "is not tracked)" "the faulting thread named as untracked"
expect_eq 5 "$(echo "$dump" | wc -l)" "lines of the block for another thread"

# A log that cannot be opened: the program runs without it and a crash
# still tells the user.
rm -f "$E2E_APP_DIR/run.log"
mkdir "$E2E_APP_DIR/run.log"
e2e_start_program
kill -0 "$E2E_PID" || fail "the program ended without its log"
crash_with 2
[ -d "$E2E_APP_DIR/run.log" ] || fail "the log's place was disturbed"

# A fault on another thread while the crash box is up is logged and brings
# no second box. None of the program's own code runs meanwhile: a posted
# message that would log a line, and one that would fault again, wait
# unanswered. The process ends with exit code 0 once the box is closed.
boxes_and_lines() {
  echo "$(e2e_driver count '#32770' Error | tr -d '\r') $(grep -c 'probe after long line' "$E2E_APP_DIR/run.log" || true)"
}
rmdir "$E2E_APP_DIR/run.log"
e2e_start_program
crash_box_up 10
e2e_wait_log "is not tracked)"
e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 4 >/dev/null
e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 2 >/dev/null
expect_stays "1 0" "crash boxes, and lines of the posted message, while the box is up" boxes_and_lines
# The handling's bound of 10 s is on its getting the box up, not on the
# user: the box is still there after it.
one_crash_box() { [ "$(e2e_driver count '#32770' Error | tr -d '\r')" == 1 ]; }
e2e_holds 12 one_crash_box || fail "the crash box went before it was closed"
close_crash_box 10
dump=$(last_dump)
expect_contains "$(echo "$dump" | sed -n 4p)" ": void {anonymous}::violateAccess()" "innermost frame of the first fault"
expect_contains "$(echo "$dump" | tail -n 2 | head -n 1)" "is not tracked)" "the second fault's thread"
expect_eq 2 "$(echo "$dump" | grep -c 'CAUGHT')" "blocks of the run"

# A fault in the crash handling itself ends the process at once, with the
# block of the first fault logged and exit code 0.
e2e_start_program
e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 11 >/dev/null
expect_eq 0 "$(e2e_wait_exit 30)" "exit code after a fault in the handling"
dump=$(last_dump)
expect_eq "---------------------" "$(echo "$dump" | tail -n 1)" "block closing before the handling's fault"
expect_eq 1 "$(echo "$dump" | grep -c 'CAUGHT')" "blocks of the run with a fault in the handling"

# A fault while the faulting thread holds the heaps' locks, as one inside
# malloc or free would: the block is still written whole, the box cannot
# come, and the process ends with exit code 0 all the same, leaving no
# mutex or window behind that would refuse the next start.
e2e_start_program
e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 12 >/dev/null
expect_eq 0 "$(e2e_wait_exit 20)" "exit code after a fault under the heap lock"
dump=$(last_dump)
expect_eq "SIGSEGV CAUGHT:  SEGMENTATION FAULT:" "$(echo "$dump" | sed -n 2p)" "message of the fault under the heap lock"
expect_contains "$(echo "$dump" | sed -n 4p)" ": void {anonymous}::violateAccess()" "innermost frame under the heap lock"
expect_contains "$(echo "$dump" | sed -n 5p)" ": void {anonymous}::violateAccessUnderHeapLock()" "its caller under the heap lock"
expect_contains "$(echo "$dump" | tail -n 2 | head -n 1)" "main.cpp:" "outermost frame under the heap lock"
expect_eq "---------------------" "$(echo "$dump" | tail -n 1)" "block closing under the heap lock"
e2e_start_program
e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
expect_eq 0 "$(e2e_wait_exit 30)" "exit code of the start after the fault under the heap lock"

# A fault on the crash box's own thread, while the box is up, is a fault of
# the handling: the process ends at once with the first fault's block, not
# parked as a later fault, which would leave the handling waiting for a box
# that never closes.
e2e_start_program
e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 13 >/dev/null
expect_eq 0 "$(e2e_wait_exit 20)" "exit code after a fault on the crash box's thread"
dump=$(last_dump)
expect_contains "$(echo "$dump" | sed -n 4p)" ": void {anonymous}::violateAccess()" "innermost frame before the box's fault"
expect_contains "$(echo "$dump" | tail -n 1)" "probe makes the crash box's thread fault" "the box's thread made to fault"
expect_eq 1 "$(echo "$dump" | grep -c 'CAUGHT')" "blocks of the run with a fault on the box's thread"
