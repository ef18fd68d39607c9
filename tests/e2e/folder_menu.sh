#!/usr/bin/env bash
# The Folder Menu, live, by real mouse input: two roots stored in the
# registry, one listing a folder tree five levels deep, one grouping a
# folder by first letter. The user browses down the tree and opens a file,
# opens a folder with "Open Folder", opens a file no program is associated
# with, and opens a file through a letter group; then right-clicks entries
# for the shell's context menu: dismissed, "Delete", "Explore" of the folder
# behind "Open Folder" and behind a group, and a file gone from the disk.
# What the associated commands were given, the files on disk, the run log,
# the message boxes and the menus on screen tell what happened.
#
# folder_menu.sh windows-road walks the same stories on the road Windows
# takes: the probe build turns the program's Wine detours off and reports
# each right-button release on an entry as a sent WM_MENURBUTTONUP, which
# Wine never sends.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/menulib.sh"
ROAD=${1:-wine}
if [ "$ROAD" == windows-road ]; then
  e2e_init folder_menu_windows_road pathwick_probe.exe
else
  e2e_init folder_menu
fi

# --- the folders, the roots and the file types --------------------------
tree=$E2E_WORK/tree
deep=$tree/plain/alpha/beta/gamma/delta/epsilon
mkdir -p "$deep" "$tree/grouped"
touch "$deep/deep file.pwt" "$tree/plain/notes.pwt" "$tree/plain/orphan.pwnx" \
  "$tree/plain/vanish.pwt" "$tree/plain/victim.pwt"
for name in apple apricot banana cherry cranberry date 1st 2nd; do touch "$tree/grouped/$name.pwt"; done

store_root 0000 Browse "$(e2e_winpath "$tree/plain")" 0 25
store_root 0001 Grouped "$(e2e_winpath "$tree/grouped")" 1 5

# Files of type .pwt and folders open through the recorder; .pwnx has no
# program at all.
use_recorder

# Wine's rundll32 traces the entry point it calls: proof that the
# open-with road started it, with which arguments.
export WINEDEBUG=-all,trace+rundll32

# --- helpers ---------------------------------------------------------------
fills() { e2e_log_text | grep -c 'm_FillInfo.str_path = ' || true; }

# Pixels of the menu's icon column in row band N that are folder yellow.
yellow_in_icon() { # SHOT BANDS N
  local top bottom
  read -r _ top bottom <<<"$(sed -n "${3}p" <<<"$2")"
  convert "$1" -crop "20x$((bottom - top + 1))+$((TOP_X + 2))+$((TOP_Y + top))" +repage \
    -depth 8 txt:- | grep -c '#FFFF00' || true
}

e2e_start_program
if [ "$ROAD" == windows-road ]; then
  e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 9 >/dev/null ||
    fail "could not reach the probe"
  e2e_wait_log "probe takes the Windows menu road"
fi

# --- a command with nothing selected does nothing ------------------------
# The tray's message posted after it, with the mouse on the icon, opens the
# Folder Menu there once the command has been handled.
e2e_driver post PathwickDummyWindow 0x126 0 0 || fail "could not post WM_MENUCOMMAND"
xdotool mousemove "$E2E_TRAY_X" "$E2E_TRAY_Y"
e2e_driver post PathwickDummyWindow 0x401 0 0x202 || fail "could not post the tray callback"
e2e_wait_menu 10 >/dev/null || fail "the tray callback after WM_MENUCOMMAND opened no menu"
expect_not_contains "$(e2e_log_text)" "open file:" "WM_MENUCOMMAND before anything was selected"
[ ! -e "$opened" ] || fail "WM_MENUCOMMAND before any selection opened: $(cat "$opened")"
e2e_dismiss_menu

# --- five levels down, and a file opened by its program ------------------
open_root 1 deep
bands=$(top_bands deep-1)
shot=$E2E_WORK/screenshots/deep-1.png
# "Open Folder", the folder, then the four files, sorted.
expect_eq "TTTTTT" "$(layout_of "$bands")" "entries of the Browse listing, see deep-1.png"
[ "$(yellow_in_icon "$shot" "$bands" 2)" -gt 20 ] || fail "the folder entry shows no folder icon (deep-1.png)"
[ "$(yellow_in_icon "$shot" "$bands" 3)" -eq 0 ] || fail "a file entry shows a folder icon (deep-1.png)"
[ "$(convert "$shot" -crop "16x16+$((TOP_X + 4))+$((TOP_Y + $(sed -n 3p <<<"$bands" | cut -d' ' -f2)))" \
  +repage -format '%k' info:)" -gt 2 ] || fail "a file entry shows no icon (deep-1.png)"
e2e_wait_log 'str_path = .*\\tree\\plain\\, '

level=2
for folder in alpha beta gamma delta epsilon; do
  hover_band "$bands" 2
  wait_menus $((level + 1)) "hovering $folder"
  e2e_wait_log "str_path = .*\\\\$folder\\\\, "
  bands=$(top_bands "deep-$level")
  expect_eq "TT" "$(layout_of "$bands")" "entries of $folder, see deep-$level.png"
  level=$((level + 1))
done
# Each level was filled once, as it opened.
expect_eq 6 "$(fills)" "folder fills on the way down"
click_band "$bands" 2
wait_opened "$(e2e_winpath "$deep/deep file.pwt")"
wait_menus 0 "the click on a file"
expect_contains "$(e2e_log_text)" "open file: $(e2e_winpath "$deep/deep file.pwt")" "run log after the click"

# --- type-ahead -------------------------------------------------------------
# A typed key reaches the owner as WM_MENUCHAR: the entries are owner-drawn,
# so the menu loop has no text to match. The answer selects the next entry
# after the highlighted one (here the one under the pointer) whose label
# begins with the key, in either case, going round past the end; group
# entries and "Open Folder" take part by their labels. Wine's menu loop
# does not act on MNC_SELECT, so the answers are read, as Windows reads them.
answers() { # CHARACTERS: "KIND POSITION," for each (3 MNC_SELECT, 0 MNC_IGNORE)
  local c
  for c in $1; do e2e_driver menu-char "$(printf %d "'$c")" | tr -d '\r'; done | tr '\n' ','
}
# Open Folder, alpha, notes.pwt, orphan.pwnx, vanish.pwt, victim.pwt.
open_root 1 typeahead
bands=$(top_bands typeahead-1)
hover_band "$bands" 3
expect_soon "3 3,3 4,3 2,3 1,0 0," "answers with notes.pwt highlighted (o V n a z)" answers 'o V n a z'
hover_band "$bands" 5
expect_eq "3 5," "$(answers v)" "v again, with vanish.pwt highlighted"
e2e_dismiss_menu
# Open Folder, Symbols, 1, 2, A, B, C, D.
open_root 2 typeahead-groups
bands=$(top_bands typeahead-groups-1 3)
hover_band "$bands" 1
expect_soon "3 1,3 3,3 5,3 0," "answers in the letter groups with Open Folder highlighted (s 2 b o)" \
  answers 's 2 b o'
e2e_dismiss_menu

# --- "Open Folder" opens the folder ----------------------------------------
open_root 1 openfolder
click_band "$(top_bands openfolder-1)" 1
wait_opened "$(e2e_winpath "$tree/plain")"
wait_menus 0 "the click on Open Folder"

# --- no program for the type: the open-with chooser ------------------------
open_root 1 noassoc
click_band "$(top_bands noassoc-1)" 4
orphan=$(e2e_winpath "$tree/plain/orphan.pwnx")
# Backslashes doubled: a pattern for the log, and how Wine's traces print them.
orphan2=${orphan//\\/\\\\}
e2e_wait_log "----Attempted to open: $orphan2"
expect_contains "$(e2e_log_text)" \
  "CNavMenu::handleMenuCommand() failed: (NOASSOC) ShellExecute() failed error: 31" "run log of the open-with road"
expect_not_contains "$(e2e_log_text)" "(OPENWITH)" "run log of the open-with road"
e2e_wait_until 10 grep -q 'Calling .*OpenAs_RunDLL' "$E2E_WORK/stderr.txt" || true
calls=$(tr -d '\r' <"$E2E_WORK/stderr.txt" | grep 'rundll32:' || true)
expect_contains "$calls" "CmdLine=L\"shell32.dll,OpenAs_RunDLL $orphan2\"" "command line RUNDLL32.EXE was started with"
expect_contains "$calls" "Calling L\"OpenAs_RunDLL\"" "RUNDLL32.EXE calling the chooser"

# --- the second display while the menu is up changes nothing ---------------
open_root 1 second
bands=$(top_bands second-1)
# The tray's own message, as a second click on the icon sends it. The menu
# loop handles it before the mouse move after it: the menu still works
# afterwards, the next level opens and nothing else does.
e2e_driver post PathwickDummyWindow 0x401 0 0x202 || fail "could not post the tray callback"
hover_band "$bands" 2
wait_menus 3 "hovering alpha after a second display"
expect_not_contains "$(e2e_log_text)" "TrackPopupMenuEx() failed" "run log after a second display"
e2e_dismiss_menu

# --- letter groups, live ----------------------------------------------------
open_root 2 grouped
# Group entries are the system's own strings; no icon column to skip.
bands=$(top_bands grouped-1 3)
# "Open Folder", Symbols, 1, 2, A, B, C, D.
expect_eq "TTTTTTTT" "$(layout_of "$bands")" "letter groups of the Grouped root, see grouped-1.png"
e2e_wait_log 'str_path = .*\\tree\\grouped\\, '
hover_band "$bands" 7
wait_menus 3 "hovering the group C"
e2e_wait_log 'str_search = C\*'
bands=$(top_bands grouped-c)
expect_eq "TTT" "$(layout_of "$bands")" "entries of the group C, see grouped-c.png"
click_band "$bands" 2
wait_opened "$(e2e_winpath "$tree/grouped/cherry.pwt")"
wait_menus 0 "the click in a group"

# --- right-click: the shell's context menu of the entry under the mouse ------
# Wine differs from Windows here: the right-button release reaches the
# program only through a message filter (no WM_MENURBUTTONUP; the probe
# sends it on the Windows road), and the Folder Menu closes on the first
# input after the context menu, so each right-click starts from the tray.
log_lines() { e2e_log_text | wc -l; }
# The probe's own lines are left out.
new_log() { e2e_log_text | tail -n +"$(($1 + 1))" | sed 's/^\[[^]]*\]//' | { grep -v '^probe ' || true; }; }
# right_click BANDS N NAME MENUS: right-clicks entry N of the topmost menu,
# over which MENUS menus are open (a group or folder entry opens its
# submenu first), and waits for the context menu, leaving it in TOP_* and
# its entries in CTX.
right_click() {
  local x y
  read -r x y <<<"$(band_point "$1" "$2")"
  xdotool mousemove "$x" "$y"
  wait_menus "$4" "hovering entry $2"
  xdotool click 3
  wait_menus $(($4 + 1)) "a right-click on entry $2"
  # At the cursor: from its x to the right, and over its y (moved up where
  # the screen ends below).
  [ "$TOP_X" -eq "$x" ] && [ "$TOP_Y" -le "$y" ] && [ $((TOP_Y + TOP_H)) -gt "$y" ] ||
    fail "the context menu ($TOP_X $TOP_Y $TOP_W $TOP_H) is not at the cursor ($x $y)"
  CTX=$(top_bands "$3" 3)
}
# Closes what is left of the Folder Menu after a shell command: under Wine
# it takes no notice of the mouse until the mouse comes over it again.
close_menus() {
  local x y w h
  read -r x y w h <<<"$(open_menus | head -n 1)"
  xdotool mousemove $((x + w / 2)) $((y + 5))
  e2e_click 600 300
  wait_menus 0 "${1:-closing the menus}"
}
FILE_MENU=TSTTSTTST    # Open, Cut, Copy, Create Link, Delete, Properties
FOLDER_MENU=TTSTTSTTST # Explore first

# A file's menu, dismissed: no log line but the interface in use, and one
# menu for one click.
open_root 1 ctx
bands=$(top_bands ctx-1)
n=$(log_lines)
right_click "$bands" 3 ctx-file 2
expect_eq "$FILE_MENU" "$(layout_of "$CTX")" "entries of a file's context menu, see ctx-file.png"
# A click outside closes it, and with it the Folder Menu.
e2e_click 600 300
wait_menus 0 "a click outside the context menu"
expect_eq "CContextMenu::getInterface(): Using IContextMenu3" "$(new_log "$n")" "run log of a dismissed context menu"

# "Delete" deletes that file and no other.
open_root 1 delete
right_click "$(top_bands delete-1)" 6 ctx-delete 2
click_band "$CTX" 7
e2e_driver wait-window '#32770' 'Confirm file deletion' 10000 >/dev/null || fail "Delete asked nothing"
# The question belongs to the program's window, in front of the Folder Menu.
expect_eq PathwickDummyWindow "$(e2e_driver owner '#32770' 'Confirm file deletion' | cut -f1)" "owner of the deletion question"
# A window that came up while the shell was busy keeps the foreground once
# the command is done: the Folder Menu takes back only what nobody took.
e2e_wine notepad >/dev/null 2>&1 &
foreground_is_notepad() { e2e_driver foreground | grep -q '^Notepad'; }
e2e_wait_until 20 foreground_is_notepad || fail "Notepad did not come to the front: $(e2e_driver foreground)"
e2e_driver press '#32770' 'Confirm file deletion' 6
e2e_driver wait-gone '#32770' 'Confirm file deletion' 10000 >/dev/null || fail "the deletion question stayed"
e2e_holds 1 foreground_is_notepad || fail "the window that came up during Delete lost the foreground to: $(e2e_driver foreground)"
e2e_driver post Notepad 0x10 0 0 >/dev/null
e2e_wait_until 5 test ! -e "$tree/plain/victim.pwt" || true
[ ! -e "$tree/plain/victim.pwt" ] && [ -e "$tree/plain/vanish.pwt" ] || fail "Delete did not delete victim.pwt alone"
[ -z "$(open_menus)" ] || close_menus "after Delete"

# "Open Folder" and a group entry stand for their folder: "Explore" gets it.
e2e_record_verb 'HKCR\Folder\shell\explore\command' "$opened"
open_root 1 explore
right_click "$(top_bands explore-1)" 1 ctx-openfolder 2
expect_eq "$FOLDER_MENU" "$(layout_of "$CTX")" "entries of the context menu of Open Folder, see ctx-openfolder.png"
click_band "$CTX" 1
wait_opened "$(e2e_winpath "$tree/plain")"
[ -z "$(open_menus)" ] || close_menus "after Explore"
open_root 2 explore-group
right_click "$(top_bands explore-group-1 3)" 7 ctx-group 3
expect_eq "$FOLDER_MENU" "$(layout_of "$CTX")" "entries of the context menu of a group, see ctx-group.png"
click_band "$CTX" 1
wait_opened "$(e2e_winpath "$tree/grouped")"
[ -z "$(open_menus)" ] || close_menus "after Explore of a group"

# A file deleted after its menu opened: the parse box, then the warning.
open_root 1 vanish
bands=$(top_bands vanish-1)
rm "$tree/plain/vanish.pwt"
n=$(log_lines)
read -r x y <<<"$(band_point "$bands" 5)"
xdotool mousemove "$x" "$y" click 3
e2e_answer_error_box "ParseDisplayName() Failed"
e2e_answer_error_box "Unable to open the context menu, the item may be invalid."
vanish=$(e2e_winpath "$tree/plain/vanish.pwt")
e2e_wait_log "cur obj = ${vanish//\\/\\\\}"
expect_eq "CContextMenu::getPIDLFromPathString() failed: ParseDisplayName() Failed
CContextMenu::getInterface() failed: getPIDLFromPathString() Failed
CNavMenu::handleMenuRightClick() failed: displayContextMenu() failed $vanish
----cur obj = $vanish" "$(new_log "$n")" "run log of a right-click on a file that is gone"
[ -z "$(open_menus)" ] || close_menus "after the boxes"

# No failure but the nothing-stored options, the end of the root list, the
# file with no program and the file that was gone.
expect_eq "" "$(e2e_log_text | grep -i 'fail' | grep -v -e 'loadOptions() failed - (OPTIONS)' \
  -e 'loadItem() failed - (Name)' -e '(NOASSOC)' -e 'vanish.pwt' -e 'ParseDisplayName() Failed' \
  -e 'getPIDLFromPathString() Failed' || true)" \
  "failure lines of the whole walk"

# One shell menu for each of the four right-clicks that found their file.
expect_eq 4 "$(e2e_log_text | grep -c 'getInterface(): Using IContextMenu3')" "shell menus shown"
if [ "$ROAD" == windows-road ]; then
  # Each release on an entry reported once, and the mouse left where the
  # system's menu loop keeps it.
  expect_eq 5 "$(e2e_log_text | grep -c 'probe sent WM_MENURBUTTONUP')" "releases reported as WM_MENURBUTTONUP"
  expect_eq "" "$(e2e_log_text | grep 'probe capture before=.*after=owner' | grep -v 'before=owner' || true)" \
    "the mouse taken by the owner after the shell's menu"
fi
