#!/usr/bin/env bash
# A root list that another tool has touched: five roots, the third with a
# path the program cannot read (binary data), the fourth with a path stored
# as REG_EXPAND_SZ. The odd root costs only itself: the Folder Menu shows
# the four others, and the run log names the value that failed. The user
# clicks the tray icon while the start-up notice is still up: the notice
# gives way and the Folder Menu opens. The program asks the system not to
# show its "no disk" box at all, and lets a new taskbar's "TaskbarCreated"
# reach it even when it runs elevated.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
e2e_init stored_roots

store_root 0000 Alpha 'C:\' 1 25
store_root 0001 Beta 'C:\windows\' 1 25
store_root 0002 Odd 433a5c 1 25 REG_BINARY
store_root 0003 Delta '%SystemRoot%\system32\' 1 25 REG_EXPAND_SZ
store_root 0004 Echo 'C:\users\' 1 25

# Wine's relay trace of these calls shows the error mode the program sets
# and that it lets the shell's "TaskbarCreated" through the message filter
# that guards an elevated copy (Wine has no such filter to test otherwise).
e2e_wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d \
  'kernel32.SetErrorMode;kernelbase.SetErrorMode;kernel32.SetThreadErrorMode;kernelbase.SetThreadErrorMode;user32.RegisterWindowMessageA;user32.ChangeWindowMessageFilterEx' /f >/dev/null 2>&1
WINEDEBUG=-all,+relay e2e_launch_program
e2e_driver wait-window PathwickDummyWindow - 30000 >/dev/null || fail "the program's window did not appear"
e2e_pass_startup_dialogs || fail "the start-up notice did not appear"
read -r notice_x notice_y _ <<<"$E2E_MENUS"
expect_eq "0 0" "$notice_x $notice_y" "place of the start-up notice"

# The left button released on the icon while the notice is up. Under Wine
# the notice's menu loop holds the mouse and a real click only closes it,
# so the tray's message for the release is posted as the tray would send it.
notice_gone_menu_up() { e2e_menu_open && [ "$(cut -d' ' -f1-2 <<<"$E2E_MENUS")" != "0 0" ]; }
xdotool mousemove "$E2E_TRAY_X" "$E2E_TRAY_Y"
e2e_driver post PathwickDummyWindow 0x401 0 0x202 >/dev/null || fail "could not reach the program"
xdotool mousemove 700 500
e2e_wait_until 10 notice_gone_menu_up || true
wait_single_menu 5 "the left button while the notice was up"
[ "$MENU_X $MENU_Y" != "0 0" ] || fail "the notice is still the open menu"
expect_eq "TTTT" "$(layout_of "$(menu_entries folder-menu)")" "roots in the Folder Menu (see folder-menu.png)"
e2e_dismiss_menu

log=$(e2e_log_text)
expect_eq 1 "$(grep -c 'loadItem() failed - (Path) RegQueryValueEx() failed' <<<"$log")" "failures to read a Path"
expect_eq 1 "$(grep -c 'loadItem() failed - (Name) RegQueryValueEx() failed' <<<"$log")" "end of the stored root list"
expect_eq 0 "$(grep -c 'TrackPopupMenuEx() failed' <<<"$log")" "menus that could not be opened"

# Loading changes nothing that is stored.
for number in 0000 0001 0002 0003 0004; do
  e2e_wine reg query "$MENU_KEY\\$number" /v Path >/dev/null 2>&1 || fail "root $number is no longer stored"
done

# "Call KERNEL32.SetThreadErrorMode(00000001,00000000)": the last mode set
# holds the flag, and only for the program's own thread: a process-wide
# mode would pass on to every program the menu opens.
modes=$(grep -o 'Call [A-Za-z0-9]*\.SetThreadErrorMode([0-9a-f]*' "$E2E_WORK/stderr.txt" | tr -d '\r' || true)
[ -n "$modes" ] || fail "the program never set its thread's error mode"
last_mode=$(tail -n 1 <<<"$modes" | sed 's/.*(//')
[ $((0x$last_mode & 1)) -eq 1 ] || fail "the error mode lacks SEM_FAILCRITICALERRORS: $modes"
expect_eq 0 "$(grep -c 'Call [A-Za-z0-9]*\.SetErrorMode(' "$E2E_WORK/stderr.txt")" "process-wide error modes set"

# "Ret user32.RegisterWindowMessageA() retval=0000c0de" after the call for
# "TaskbarCreated"; then "Call user32.ChangeWindowMessageFilterEx(<window>,0000c0de,00000001,00000000)".
taskbar_msg=$(grep -a -A1 'Call user32.RegisterWindowMessageA(.*"TaskbarCreated")' "$E2E_WORK/stderr.txt" |
  grep -o 'retval=[0-9a-f]*' | head -n 1 | cut -d= -f2 || true)
[ -n "$taskbar_msg" ] || fail "the program never registered \"TaskbarCreated\""
expect_contains "$(grep -a 'Call user32.ChangeWindowMessageFilterEx' "$E2E_WORK/stderr.txt" || true)" \
  ",$taskbar_msg,00000001," "the message filter call for \"TaskbarCreated\""
