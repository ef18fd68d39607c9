#!/usr/bin/env bash
# The shell's context menu for a file, a folder and a drive root, shown as
# the Folder Menu's right-click shows it (tests/tools/ctxshow.cpp), driven by
# the mouse: it opens at the point asked for with the shell's entries;
# dismissing it is no failure; "Properties", "Delete" and "Explore" act on
# the very item; an item that cannot be found, a path longer than MAX_PATH
# and a folder that is gone end in the right boxes and log lines; and
# failing again and again leaves no menu behind.
#
# Wine's shell menu holds a fixed set of entries, answers the message relay
# with E_NOTIMPL and opens nothing on "Open"; those are what is checked.
. "$(dirname "$0")/lib.sh"
e2e_init context_menu ctxshow.exe

files=$E2E_WORK/files
mkdir -p "$files/Folder One"
echo keep >"$files/keep.txt"
echo victim >"$files/victim.txt"
win_files=$(e2e_winpath "$files")
# "Explore" of a folder goes to the folder type's verb: here a command that
# notes which folder it was given.
opened=$E2E_WORK/opened.txt
e2e_wine reg add 'HKCR\Folder\shell\explore\command' /ve \
  /d "C:\\windows\\system32\\cmd.exe /c echo %1>>$(e2e_winpath "$opened")" /f >/dev/null 2>&1

menu_file=$E2E_WORK/menu.txt
result_file=$E2E_WORK/result.txt

# Starts ctxshow for PATH with the menu at (200, 150); its answers land in
# menu.txt (while the menu is up) and result.txt (when it has returned).
show_menu() {
  rm -f "$menu_file" "$result_file" "$E2E_WORK/exitcode"
  (
    cd "$E2E_APP_DIR"
    rc=0
    "$PATHWICK_WINE" "$E2E_APP_DIR/ctxshow.exe" "$(e2e_winpath "$E2E_WORK")" show "$1" 200 150 \
      >>"$E2E_WORK/stdout.txt" 2>>"$E2E_WORK/stderr.txt" || rc=$?
    echo "$rc" >"$E2E_WORK/exitcode"
  ) &
}

wait_file() { # FILE WHAT
  local i
  for ((i = 0; i < 150; i++)); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  fail "$2"
}

wait_menu() {
  wait_file "$menu_file" "the context menu did not come up"
  tr -d '\r' <"$menu_file" >"$menu_file.unix"
}

result() {
  wait_file "$result_file" "displayContextMenu did not return"
  tr -d '\r' <"$result_file"
}

exit_code() {
  wait_file "$E2E_WORK/exitcode" "ctxshow did not end"
  cat "$E2E_WORK/exitcode"
}

# The entries as "POS LEFT TOP RIGHT BOTTOM ID\tTEXT".
entries() {
  sed -n 's/^entry \([^ ]* [^ ]* [^ ]* [^ ]* [^ ]* [^ ]*\) \(.*\)$/\1\t\2/p' "$menu_file.unix"
}

entry_texts() {
  entries | cut -f2 | paste -sd'|'
}

click_entry() { # TEXT
  local L T R B
  read -r _ L T R B _ < <(entries | awk -F'\t' -v t="$1" '$2 == t { print $1 }')
  [ -n "$B" ] || fail "no entry [$1] in the menu: $(entry_texts)"
  e2e_click $(((L + R) / 2)) $(((T + B) / 2))
}

# The text of the "Error" box now up; waits for one that reads TEXT when
# given, and fails after a while.
box_text() { # [TEXT]
  local i text
  for ((i = 0; i < 100; i++)); do
    text=$(e2e_driver texts '#32770' Error 2>/dev/null | tr -d '\r' | awk -F'\t' '$1 == 65535 { print $3 }')
    if [ -n "$text" ] && { [ -z "${1:-}" ] || [ "$text" == "$1" ]; }; then
      echo "$text"
      return 0
    fi
    sleep 0.1
  done
  echo "${text:-no box}"
}

# Pixels of the box's icon colour around the screen's centre, where the
# box sits: red for the error icon, yellow for the warning's.
icon_pixels() { # red|yellow
  local fx='(r>0.7 && g<0.35 && b<0.35)'
  [ "$1" == yellow ] && fx='(r>0.8 && g>0.6 && b<0.3)'
  convert "$(e2e_screenshot "box-$1")" -crop 500x250+262+260 +repage -fx "$fx" -format '%[fx:mean*w*h]' info:
}

expect_box() { # TEXT red|yellow
  expect_eq "$1" "$(box_text "$1")" "box text"
  local i n=0
  for ((i = 0; i < 20; i++)); do
    n=$(icon_pixels "$2")
    [ "${n%.*}" -gt 50 ] && break
    sleep 0.2
  done
  [ "${n%.*}" -gt 50 ] || fail "the box [$1] shows no $2 icon"
  e2e_driver press '#32770' Error 1
}

log_since() { # LINE-COUNT
  e2e_log_text | tail -n +"$(($1 + 1))" | sed 's/^\[[^]]*\]//'
}

log_lines() { e2e_log_text | wc -l; }

# --- A file: the shell's entries at the point asked for; dismissed. ---
show_menu "$win_files\\keep.txt"
wait_menu
expect_eq "version 3" "$(head -1 "$menu_file.unix")" "interface held while the menu is up"
expect_eq "&Open|-|C&ut|&Copy|-|Create &Link|&Delete|-|&Properties" "$(entry_texts)" "entries of a file's menu"
expect_eq "200 150" "$(e2e_driver menus | awk '{ print $1, $2 }')" "menu window position"
# Every shell entry carries an id of the range kept for it.
while IFS=$'\t' read -r pos_and_rect text; do
  id=${pos_and_rect##* }
  [ "$text" == - ] || [ $((id)) -ge 32768 ] || fail "shell entry [$text] has the id $id, below 0x8000"
done < <(entries)
e2e_screenshot file-menu >/dev/null
e2e_dismiss_menu
res=$(result)
expect_contains "$res" "result 1" "a dismissed menu is no failure"
# The popup's own WM_INITMENUPOPUP reached the shell's IContextMenu3 (Wine
# answers E_NOTIMPL); once the menu is gone nothing is held.
expect_contains "$res" "relay WM_INITMENUPOPUP 0x80004001" "message relay while the menu is up"
expect_contains "$res" "idle 0 0x00000000" "after the menu"
expect_eq "CContextMenu::getInterface(): Using IContextMenu3" \
  "$(e2e_log_text | grep -v -- '----Logging' | sed 's/^\[[^]]*\]//')" "run log of a dismissed menu"

# --- "Properties" runs before displayContextMenu returns. ---
show_menu "$win_files\\keep.txt"
wait_menu
click_entry "&Properties"
e2e_driver wait-window '#32770' 'Properties for keep.txt' 10000 >/dev/null ||
  fail "no property sheet for keep.txt"
[ ! -e "$result_file" ] || fail "displayContextMenu returned while its command was still running"
e2e_screenshot properties >/dev/null
e2e_driver press '#32770' 'Properties for keep.txt' 2
expect_contains "$(result)" "result 1" "Properties"

# --- "Delete" removes the file. ---
show_menu "$win_files\\victim.txt"
wait_menu
click_entry "&Delete"
e2e_driver wait-window '#32770' 'Confirm file deletion' 10000 >/dev/null || fail "no deletion prompt"
e2e_driver press '#32770' 'Confirm file deletion' 6
expect_contains "$(result)" "result 1" "Delete"
[ ! -e "$files/victim.txt" ] || fail "victim.txt is still there after Delete"
[ -e "$files/keep.txt" ] || fail "Delete removed the wrong file"

# --- A folder and a drive root show their own menus: "Explore" opens the
# very folder, and C:\ itself. ---
for item in "$win_files\\Folder One" 'C:\'; do
  rm -f "$opened"
  show_menu "$item"
  wait_menu
  expect_eq "E&xplore|&Open|-|C&ut|&Copy|-|Create &Link|&Delete|-|&Properties" "$(entry_texts)" "entries of the menu of $item"
  click_entry "E&xplore"
  expect_contains "$(result)" "result 1" "Explore of $item"
  wait_file "$opened" "Explore of $item opened nothing"
  expect_eq "$item" "$(tr -d '\r' <"$opened" | sed 's/ *$//')" "folder explored"
done

# --- A file gone from a folder that is still there: the parse box, then
# the warning; nothing else. ---
n=$(log_lines)
show_menu "$win_files\\gone.txt"
expect_box "ParseDisplayName() Failed" red
expect_box "Unable to open the context menu, the item may be invalid." yellow
expect_contains "$(result)" "result 0" "a missing file"
expect_eq 1 "$(exit_code)" "ctxshow's exit code for a missing file"
expect_eq "CContextMenu::getPIDLFromPathString() failed: ParseDisplayName() Failed
CContextMenu::getInterface() failed: getPIDLFromPathString() Failed" "$(log_since "$n" | grep -v -- '----Logging')" \
  "log of a missing file"
[ ! -e "$menu_file" ] || fail "a menu came up for a missing file"

# --- A folder that is gone, a path far longer than MAX_PATH that does not
# exist, and one that does: only the warning, and the program goes on. ---
long=$(printf 'd%.0s' {1..200})
mkdir -p "$files/$long/$long"
echo deep >"$files/$long/$long/deep.txt"
huge=
for i in {1..10}; do huge+="\\$(printf 'x%.0s' {1..100})"; done
for item in "$win_files\\nowhere\\x.txt" "$win_files$huge\\x.txt" "$win_files\\$long\\$long\\deep.txt"; do
  n=$(log_lines)
  show_menu "$item"
  expect_box "Unable to open the context menu, the item may be invalid." yellow
  expect_contains "$(result)" "result 0" "${#item}-character path"
  expect_eq 1 "$(exit_code)" "ctxshow's exit code for a ${#item}-character path"
  expect_eq "CContextMenu::getPIDLFromPathString() failed: ParseDisplayName() Failed
CContextMenu::getInterface() failed: getPIDLFromPathString() Failed" "$(log_since "$n" | grep -v -- '----Logging')" \
    "log of a ${#item}-character path"
  ! e2e_driver texts '#32770' Error >/dev/null || fail "a box stayed up after a ${#item}-character path"
done

# --- Failing 25 times leaves no menu behind. ---
(cd "$E2E_APP_DIR" && "$PATHWICK_WINE" "$E2E_APP_DIR/ctxshow.exe" "$(e2e_winpath "$E2E_WORK")" repeat \
  "$win_files\\gone.txt" 25 >>"$E2E_WORK/stdout.txt" 2>>"$E2E_WORK/stderr.txt")
res=$(tr -d '\r' <"$result_file")
read -r _ probe_before probe_with < <(grep '^probe ' <<<"$res")
[ "$probe_with" -gt "$probe_before" ] || fail "the menu count does not see a new menu: $res"
expect_eq 25 "$(awk '$1 == "failures" { print $2 }' <<<"$res")" "failed calls"
expect_eq 50 "$(awk '$1 == "boxes" { print $2 }' <<<"$res")" "boxes answered"
read -r _ before after < <(grep '^menus ' <<<"$res")
expect_eq "$before" "$after" "live menus after 25 failed calls"
