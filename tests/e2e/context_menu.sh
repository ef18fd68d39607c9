#!/usr/bin/env bash
# The shell's context menu for a file, a folder and a drive root, shown as
# the Folder Menu's right-click shows it (tests/tools/ctxshow.cpp) and driven
# by the mouse: it opens where asked with the shell's entries; dismissing it
# is no failure; "Delete" and "Explore" act on the very item; a file that is
# gone, a folder that is gone and paths longer than MAX_PATH end in the
# right boxes and log lines; failing again and again leaves no menu behind.
# Wine's shell menu has a fixed set of entries and answers the message relay
# with E_NOTIMPL: those are what is checked.
. "$(dirname "$0")/lib.sh"
e2e_init context_menu ctxshow.exe

files=$E2E_WORK/files
mkdir -p "$files/Folder One"
echo keep >"$files/keep.txt"
echo victim >"$files/victim.txt"
win_files=$(e2e_winpath "$files")
# "Explore" runs the folder type's verb: here a command that notes its folder.
opened=$E2E_WORK/opened.txt
e2e_record_verb 'HKCR\Folder\shell\explore\command' "$opened"
out=$E2E_WORK

show_menu() { # PATH: the menu at (200, 150), in the background
  rm -f "$out/menu.txt" "$out/result.txt" "$out/exitcode"
  (
    cd "$E2E_APP_DIR"
    rc=0
    "$PATHWICK_WINE" ctxshow.exe "$(e2e_winpath "$out")" show "$1" 200 150 2>/dev/null || rc=$?
    echo $rc >"$out/exitcode"
  ) &
}
wait_file() { # FILE WHAT
  e2e_wait_until 15 test -s "$1" || fail "$2"
}
# The entries as "ID<tab>TEXT" (id) or "LEFT TOP RIGHT BOTTOM<tab>TEXT" (rect).
entries() { # id|rect
  local fields='[^ ]* \([^ ]* [^ ]* [^ ]* [^ ]*\) [^ ]*'
  [ "$1" == id ] && fields='[^ ]* [^ ]* [^ ]* [^ ]* [^ ]* \([^ ]*\)'
  wait_file "$out/menu.txt" "no context menu"
  tr -d '\r' <"$out/menu.txt" | sed -n "s/^entry $fields \(.*\)$/\1\t\2/p"
}
entry_texts() { entries id | cut -f2 | paste -sd'|'; }
click_entry() { # TEXT
  local L T R B
  read -r L T R B < <(entries rect | awk -F'\t' -v t="$1" '$2 == t { print $1 }')
  [ -n "$B" ] || fail "no entry [$1] in: $(entry_texts)"
  e2e_click $(((L + R) / 2)) $(((T + B) / 2))
}
result() { wait_file "$out/exitcode" "ctxshow did not end"; tr -d '\r' <"$out/result.txt"; }
new_log() { e2e_log_text | tail -n +"$(($1 + 1))" | grep -v -- '----Logging' | sed 's/^\[[^]]*\]//'; }
failed_parse="CContextMenu::getPIDLFromPathString() failed: ParseDisplayName() Failed
CContextMenu::getInterface() failed: getPIDLFromPathString() Failed"
warning="Unable to open the context menu, the item may be invalid."

# A file: the shell's entries, with ids from 0x8000, at the point asked;
# dismissed, a success that logs no failure, the relay reaching the shell.
show_menu "$win_files\\keep.txt"
expect_eq "&Open|-|C&ut|&Copy|-|Create &Link|&Delete|-|&Properties" "$(entry_texts)" "entries of a file's menu"
expect_eq "0x8102 &Open" "$(entries id | head -1 | tr '\t' ' ')" "first entry's id"
expect_eq "version 3" "$(head -1 "$out/menu.txt" | tr -d '\r')" "interface held while the menu is up"
expect_eq "200 150" "$(e2e_driver menus | awk '{ print $1, $2 }')" "menu position"
e2e_screenshot file-menu >/dev/null
e2e_dismiss_menu
expect_eq "relay 0x80004001
idle 0 0x00000000
result 1" "$(result)" "dismissed menu"
expect_eq "CContextMenu::getInterface(): Using IContextMenu3" "$(new_log 0)" "log of a dismissed menu"

# "Delete" deletes that file and no other.
show_menu "$win_files\\victim.txt"
click_entry "&Delete"
e2e_driver wait-window '#32770' 'Confirm file deletion' 10000 >/dev/null || fail "no deletion prompt"
e2e_driver press '#32770' 'Confirm file deletion' 6
expect_contains "$(result)" "result 1" "Delete"
[ ! -e "$files/victim.txt" ] && [ -e "$files/keep.txt" ] || fail "Delete did not delete victim.txt alone"

# A folder and the drive root show their own menus: "Explore" opens them.
for item in "$win_files\\Folder One" 'C:\'; do
  rm -f "$opened"
  show_menu "$item"
  click_entry "E&xplore"
  expect_contains "$(result)" "result 1" "Explore of $item"
  wait_file "$opened" "Explore of $item opened nothing"
  expect_eq "$item" "$(tr -d '\r' <"$opened" | sed 's/ *$//')" "folder explored"
done

# A file gone from its folder: the parse box, then the warning.
n=$(e2e_log_text | wc -l)
show_menu "$win_files\\gone.txt"
e2e_answer_error_box "ParseDisplayName() Failed"
e2e_answer_error_box "$warning"
expect_eq "idle 0 0x00000000
result 0" "$(result)" "a missing file"
expect_eq "$failed_parse" "$(new_log "$n")" "log of a missing file"

# A folder that is gone, a path of 1,000 characters that is not there and
# one of 450 that is: the warning alone, and no overrun.
long=$(printf 'd%.0s' {1..200})
mkdir -p "$files/$long/$long" && echo deep >"$files/$long/$long/deep.txt"
huge=$(printf '\\%.0sxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx' {1..10})
for item in "$win_files\\nowhere\\x.txt" "$win_files$huge\\x.txt" "$win_files\\$long\\$long\\deep.txt"; do
  n=$(e2e_log_text | wc -l)
  show_menu "$item"
  e2e_answer_error_box "$warning"
  expect_eq "result 0" "$(result | tail -1)" "${#item}-character path"
  expect_eq 1 "$(cat "$out/exitcode")" "exit code after a ${#item}-character path"
  expect_eq "$failed_parse" "$(new_log "$n")" "log of a ${#item}-character path"
done

# Failing 25 times leaves as many menus as before.
(cd "$E2E_APP_DIR" && "$PATHWICK_WINE" ctxshow.exe "$(e2e_winpath "$out")" repeat "$win_files\\gone.txt" 25 2>/dev/null)
res=$(tr -d '\r' <"$out/result.txt")
read -r _ probe probe_one < <(grep '^probe ' <<<"$res")
[ "$probe_one" -gt "$probe" ] || fail "the menu count misses a new menu: $res"
expect_contains "$res" "boxes 50
failures 25" "25 failed calls"
read -r _ before after < <(grep '^menus ' <<<"$res")
expect_eq "$before" "$after" "live menus after 25 failed calls"
