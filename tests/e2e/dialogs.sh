#!/usr/bin/env bash
# The dialogs as a user meets them, by real mouse and keyboard, one story
# per run (dialogs.sh STORY, each its own ctest entry): a first start
# (splash, introduction, notice), the options, the Folder Menu's hotkey, the
# about box, the root list edited, applied, cancelled and saved on Exit, five
# stored roots reordered and edited, and a start with the buttons swapped. Checked in the
# registry, in the Folder Menu, in the dialogs' controls and in the run log.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/dialoglib.sh"
story=${1:?usage: dialogs.sh first_start|options|hotkey|about|root_list|exit_question|five_roots|swapped_start|scales}
e2e_init "dialogs_$story"

dlg_use_wine_fonts
# Folders are not looked at when a root is entered: plain paths do.
projects='C:\Projects'
archive='C:\Archive'
# A name longer than any fixed buffer of 260.
long_name="Work $(printf 'w%.0s' {1..295})"

splash_shown() { [ "$(dlg_count '')" == 1 ]; }
# The splash is no window to switch to: the taskbar keeps the buttons it had.
splash_alone() { splash_shown && [ "$(e2e_driver taskbar | tr -d '\r')" == "$taskbar" ]; }

# ---- A first start: splash, introduction, notice ---------------------------
story_first_start() {
  taskbar=$(e2e_driver taskbar | tr -d '\r')
  e2e_launch_program
  e2e_driver wait-window '#32770' '' 20000 >/dev/null || fail "no splash at the first start"
  local splash_seen splash_ms
  splash_seen=$(date +%s%N)
  # Keys do not close it; it goes by itself after about 2 s. Keys it ignores
  # change nothing to wait for: it is watched for a moment after them, at
  # once, as a busy machine may take the rest of the 2 s for the pictures.
  xdotool key Escape Return
  e2e_holds 0.3 splash_alone || { splash_shown && fail "the splash has a taskbar button"; fail "a key closed the splash"; }
  dlg_shot splash ""
  expect_centred ""
  e2e_driver wait-gone '#32770' '' 10000 >/dev/null || fail "the splash stayed"
  splash_ms=$((($(date +%s%N) - splash_seen) / 1000000))
  [ "$splash_ms" -ge 1200 ] && [ "$splash_ms" -le 4000 ] || fail "the splash stayed $splash_ms ms, not about 2000"
  [ -z "$(e2e_driver menus)" ] || fail "the notice came before the introduction"

  dlg_wait "$DLG_HELP"
  expect_centred "$DLG_HELP"
  local help
  help=$(e2e_driver texts '#32770' "$DLG_HELP")
  expect_contains "$help" $IDC_HELP_LINE1$'\tStatic\tLeft-Click the icon to open the Folder Menu to browse your folders.' "first instruction"
  expect_contains "$help" $IDC_HELP_LINE2$'\tStatic\tRight-Click the icon to open the Configuration Menu.' "second instruction"
  expect_state "$DLG_HELP" $IDC_DONT_SHOW 1 0 "the introduction's check box"
  # The click after Escape is handled after it: once the box is ticked,
  # Escape has had its chance to close the introduction.
  xdotool key Escape
  dlg_click "$DLG_HELP" $IDC_DONT_SHOW
  expect_state "$DLG_HELP" $IDC_DONT_SHOW 1 1 "the check box after a click"
  dlg_is_open "$DLG_HELP" || fail "Escape closed the introduction"
  dlg_shot introduction "$DLG_HELP"
  xdotool key Return
  dlg_wait_gone "$DLG_HELP"
  dlg_dismiss_notice
  # The answer is kept in memory until the options are saved.
  e2e_wine reg query "$OPTIONS_KEY" >/dev/null 2>&1 && fail "the introduction wrote the registry"
  return 0
}

# ---- Options, after a first start that asked for no introduction -------------
story_options() {
  e2e_launch_program
  dlg_wait "$DLG_HELP" 30000
  dlg_click "$DLG_HELP" $IDC_DONT_SHOW
  expect_state "$DLG_HELP" $IDC_DONT_SHOW 1 1 "the introduction's check box after a click"
  xdotool key Return
  dlg_wait_gone "$DLG_HELP"
  dlg_dismiss_notice

  config_command 3 5 "$DLG_OPTIONS"
  expect_centred "$DLG_OPTIONS"
  expect_state "$DLG_OPTIONS" $IDC_RUN_AT_LOGIN 1 0 "autostart at first"
  expect_state "$DLG_OPTIONS" $IDC_NO_SPLASH 1 0 "no-splash at first"
  expect_state "$DLG_OPTIONS" $IDC_LEFT_FOLDER 1 1 "left: Folder Menu at first"
  expect_state "$DLG_OPTIONS" $IDC_RIGHT_CONFIG 1 1 "right: Configuration Menu at first"
  # A second "Program Options..." is handled before the click after it.
  config_command 3 5
  dlg_click "$DLG_OPTIONS" $IDC_LEFT_CONFIG
  expect_state "$DLG_OPTIONS" $IDC_RIGHT_FOLDER 1 1 "right: Folder Menu after left: Configuration Menu"
  expect_eq 1 "$(dlg_count "$DLG_OPTIONS")" "options dialogs after a second Program Options..."
  expect_state "$DLG_OPTIONS" $IDC_RIGHT_CONFIG 1 0 "right: Configuration Menu after left: Configuration Menu"
  dlg_click "$DLG_OPTIONS" $IDC_RIGHT_CONFIG
  expect_state "$DLG_OPTIONS" $IDC_LEFT_FOLDER 1 1 "left: Folder Menu after right: Configuration Menu"
  dlg_click "$DLG_OPTIONS" $IDC_LEFT_CONFIG
  dlg_click "$DLG_OPTIONS" $IDC_RUN_AT_LOGIN
  dlg_close "$DLG_OPTIONS" $IDCANCEL
  e2e_wine reg query "$OPTIONS_KEY" >/dev/null 2>&1 && fail "Cancel wrote the options"
  expect_eq 1 "$(folder_menu_entries 1 folder-menu-after-cancel)" "entries of the Folder Menu on the left button after Cancel"

  config_command 3 5 "$DLG_OPTIONS"
  dlg_click "$DLG_OPTIONS" $IDC_LEFT_CONFIG
  dlg_click "$DLG_OPTIONS" $IDC_RUN_AT_LOGIN
  dlg_shot options "$DLG_OPTIONS"
  dlg_close "$DLG_OPTIONS" $IDOK
  expect_eq 0x0 "$(reg_value "$OPTIONS_KEY" LeftClickRoot)" "stored LeftClickRoot"
  expect_eq 0x1 "$(reg_value "$OPTIONS_KEY" RunOnStartup)" "stored RunOnStartup"
  expect_eq 0x0 "$(reg_value "$OPTIONS_KEY" TrayHelpAtStartup)" "stored TrayHelpAtStartup (the introduction's answer)"
  expect_eq 0x1 "$(reg_value "$OPTIONS_KEY" SplashScreenAtStartup)" "stored SplashScreenAtStartup"
  local autostart
  autostart=$(e2e_wine reg query "$RUN_KEY" /v 'Quillmere Pathwick' 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[ ]*//p')
  expect_eq "\"$(e2e_winpath "$E2E_APP_DIR/pathwick.exe")\"" "$autostart" "autostart value"
  # The roles swap at the next click: the left button opens the Configuration Menu.
  config_command 1 5 "$DLG_OPTIONS"
  expect_state "$DLG_OPTIONS" $IDC_LEFT_CONFIG 1 1 "left: Configuration Menu as stored"
  expect_state "$DLG_OPTIONS" $IDC_RUN_AT_LOGIN 1 1 "autostart as stored"
  dlg_click "$DLG_OPTIONS" $IDC_LEFT_FOLDER
  dlg_click "$DLG_OPTIONS" $IDC_RUN_AT_LOGIN
  dlg_close "$DLG_OPTIONS" $IDOK
  expect_eq 0x1 "$(reg_value "$OPTIONS_KEY" LeftClickRoot)" "LeftClickRoot stored back"
  e2e_wine reg query "$RUN_KEY" /v 'Quillmere Pathwick' >/dev/null 2>&1 && fail "the autostart value was not deleted"
  # Tab visits each control once, in order, a radio group at its checked
  # button; the arrow keys stay in their group, never on a box or a label.
  # (The hotkey field takes the arrows as a combination: none are pressed
  # there.)
  config_command 3 5 "$DLG_OPTIONS"
  local focus="$IDC_NO_SPLASH $IDC_LEFT_FOLDER $IDC_RIGHT_CONFIG $IDC_HOTKEY $IDOK $IDCANCEL"
  focus+=" $IDC_RUN_AT_LOGIN $IDC_NO_SPLASH $IDC_LEFT_FOLDER $IDC_LEFT_CONFIG $IDC_LEFT_FOLDER"
  focus+=" $IDC_LEFT_CONFIG $IDC_RIGHT_FOLDER $IDC_RIGHT_CONFIG $IDC_HOTKEY $IDOK $IDCANCEL $IDOK"
  expect_eq "$focus" \
    "$(dlg_focus_path Tab Tab Tab Tab Tab Tab Tab Down Tab Down Down Up Tab Down Tab Tab Down Down)" \
    "keys in the options"
}

# ---- The Folder Menu's hotkey: pressed in another program, refused -----------
story_hotkey() {
  local refused='CHotKey::use() failed: RegisterHotKey() failed for Ctrl+Alt+Q (0x0651) with error: 1409'
  # Stored, Ctrl+Alt+P works from the start: pressed in Notepad, it opens
  # the Folder Menu at the pointer, its first entry selected.
  store_option HotKey 0x650
  e2e_start_program
  xdotool mousemove 300 200
  e2e_wine notepad >/dev/null 2>&1 &
  notepad_in_front() { e2e_driver foreground | grep -q '^Notepad'; }
  e2e_wait_until 20 notepad_in_front || fail "Notepad is not in front but $(e2e_driver foreground)"
  xdotool key ctrl+alt+p
  wait_single_menu 10 "Ctrl+Alt+P"
  expect_eq "300 200" "$MENU_X $MENU_Y" "where the Folder Menu opened"
  expect_first_highlighted hotkey-menu "$MENU_H"
  e2e_dismiss_menu
  # Typed into the field, stored in the control's form (Q with HOTKEYF_ALT
  # | HOTKEYF_CONTROL). Another program takes it before OK (once held, its
  # keys would not reach the field): refused, said, logged, still stored.
  config_command 3 5 "$DLG_OPTIONS"
  dlg_click "$DLG_OPTIONS" $IDC_HOTKEY
  xdotool key ctrl+alt+q
  e2e_driver hold-hotkey 3 0x51 120000 >"$E2E_WORK/held.txt" & # MOD_ALT | MOD_CONTROL, Q
  e2e_wait_until 10 grep -q held "$E2E_WORK/held.txt" || fail "the helper could not take Ctrl+Alt+Q"
  dlg_click "$DLG_OPTIONS" $IDOK
  dlg_wait "Pathwick Pro: Hotkey"
  expect_contains "$(e2e_driver texts '#32770' "Pathwick Pro: Hotkey" | tr -d '\r')" \
    "Ctrl+Alt+Q cannot open the Folder Menu: another program uses this key combination." "the refusal"
  xdotool key Return
  dlg_wait_gone "$DLG_OPTIONS"
  expect_eq 0x651 "$(reg_value "$OPTIONS_KEY" HotKey)" "stored HotKey"
  config_command 3 7
  e2e_wait_exit 30 >/dev/null
  e2e_start_program
  expect_eq 2 "$(e2e_log_text | grep -c -F "$refused")" "refusals logged, when chosen and at the start"
  expect_eq 0x651 "$(reg_value "$OPTIONS_KEY" HotKey)" "stored HotKey after a start"
}

# ---- About: once only, Escape ignored, the web site, Enter closes --------------
visited() { [ "$(grep -c . "$visited" 2>/dev/null)" == "$1" ]; }

story_about() {
  # The about box's web site opens through the URL's protocol: here a
  # command that notes the address it was given.
  visited=$E2E_WORK/visited.txt
  e2e_record_verb 'HKCR\http\shell\open\command' "$visited"
  e2e_start_program
  config_command 3 2 "$DLG_ABOUT"
  expect_centred "$DLG_ABOUT"
  # A second About... and Escape come before the click on Visit: once its
  # address is noted, they have been handled.
  config_command 3 2
  dlg_wait_focus "$DLG_ABOUT"
  xdotool key Escape
  dlg_click "$DLG_ABOUT" $IDC_VISIT
  e2e_wait_until 10 visited 1 || true
  dlg_click "$DLG_ABOUT" $IDC_ABOUT_PICTURE
  e2e_wait_until 10 visited 2 || true
  expect_eq "http://www.quillmere.example/pathwick/|http://www.quillmere.example/pathwick/" \
    "$(tr -d '\r ' <"$visited" | paste -sd'|')" "addresses opened by Visit and by the picture"
  expect_eq 1 "$(dlg_count "$DLG_ABOUT")" "about boxes after a second About..."
  dlg_is_open "$DLG_ABOUT" || fail "Escape closed the about box"
  expect_contains "$(dlg_state "$DLG_ABOUT" $IDC_VISIT)" "Visit www.quillmere.example" "the Visit button"
  dlg_shot about "$DLG_ABOUT"
  # The command that noted the address may have taken the focus: back to
  # the about box by its title bar.
  local x y
  read -r x y _ _ <<<"$(e2e_driver rect '#32770' "$DLG_ABOUT" 0 | tr -d '\r')"
  e2e_click $((x + 60)) $((y + 10))
  dlg_wait_focus "$DLG_ABOUT"
  xdotool key Return
  dlg_wait_gone "$DLG_ABOUT"
}

# ---- The root list: add, cancel, OK, apply, close without saving -------------
# add_in_dialog NAME PATH SORT_ID COUNT: the add dialog filled in by keyboard
# and mouse and confirmed with "Add"; SORT_ID IDC_SORT_ABC (letters) or
# IDC_SORT_EXT (types).
add_in_dialog() {
  dlg_click "$DLG_EDIT" $IDC_ADD_ITEM
  dlg_wait "$DLG_ADD"
  expect_centred "$DLG_ADD" "$DLG_EDIT"
  expect_state "$DLG_ADD" $IDOK 0 0 "Add with both fields empty"
  expect_state "$DLG_ADD" $IDC_ABC_COUNT 1 0 "ABC number field in add mode"
  expect_state "$DLG_ADD" $IDC_EXT_COUNT 0 0 "type number field in add mode"
  dlg_type_into "$DLG_ADD" $IDC_NAME_EDIT "$1"
  expect_state "$DLG_ADD" $IDOK 0 0 "Add with the path still empty"
  dlg_type_into "$DLG_ADD" $IDC_PATH_EDIT "$2"
  expect_state "$DLG_ADD" $IDOK 1 0 "Add with name and path"
  dlg_click "$DLG_ADD" "$3"
  local field=$(($3 == IDC_SORT_ABC ? IDC_ABC_COUNT : IDC_EXT_COUNT))
  local other=$(($3 == IDC_SORT_ABC ? IDC_EXT_COUNT : IDC_ABC_COUNT))
  expect_state "$DLG_ADD" "$field" 1 0 "the chosen grouping's number field"
  expect_state "$DLG_ADD" "$other" 0 0 "the other grouping's number field"
  dlg_type_into "$DLG_ADD" "$field" "$4"
  [ -n "${ADD_SHOT:-}" ] && dlg_shot "$ADD_SHOT" "$DLG_ADD"
  dlg_close "$DLG_ADD" $IDOK
}

path_field() { dlg_state "$DLG_ADD" $IDC_PATH_EDIT | cut -f3; }
path_picked() { [ -n "$(path_field)" ]; }
first_row_sorting() { dlg_rows | head -n 1 | cut -f3,5; }

story_root_list() {
  e2e_start_program
  config_command 3 4 "$DLG_EDIT"
  expect_centred "$DLG_EDIT"
  expect_eq $'0\t0\tC Drive\tC:\\\tABC > 25 items' "$(dlg_rows)" "the list at a first start"
  # A second "Edit Folder Menu..." is handled before the click on "Add".
  config_command 3 4
  add_in_dialog Projects "$projects" $IDC_SORT_EXT 10
  expect_eq 1 "$(dlg_count "$DLG_EDIT")" "edit dialogs after a second Edit Folder Menu..."
  expect_soon "Projects|C Drive" "a new root goes first" dlg_row_names
  expect_eq $'Projects\t'"$projects"$'\tType > 10 items' "$(dlg_rows | head -n 1 | cut -f3-)" "the new row"
  dlg_close "$DLG_EDIT" $IDCANCEL
  expect_eq "" "$(stored_names)" "stored roots after Cancel"
  expect_eq 1 "$(folder_menu_entries 1)" "Folder Menu entries after Cancel"

  config_command 3 4 "$DLG_EDIT"
  expect_eq "C Drive" "$(dlg_row_names)" "reopened after Cancel: the live list"
  # The folder browser: cancelled it leaves the path alone; a folder chosen
  # in it (the tree starts at the desktop: "/", then "Documents") fills the
  # path and enables "Add". Cancel then adds nothing.
  dlg_click "$DLG_EDIT" $IDC_ADD_ITEM
  dlg_wait "$DLG_ADD"
  dlg_type_into "$DLG_ADD" $IDC_NAME_EDIT "Picked"
  dlg_click "$DLG_ADD" $IDC_BROWSE
  dlg_wait "Browse for Folder"
  xdotool key Escape
  dlg_wait_gone "Browse for Folder"
  expect_eq $'1\t0\t' "$(dlg_state "$DLG_ADD" $IDC_PATH_EDIT)" "path field after the browser was cancelled"
  expect_state "$DLG_ADD" $IDOK 0 0 "Add after the browser was cancelled"
  dlg_click "$DLG_ADD" $IDC_BROWSE
  dlg_wait "Browse for Folder"
  xdotool key Down Down Return
  dlg_wait_gone "Browse for Folder"
  e2e_wait_until 10 path_picked || true
  local picked
  picked=$(path_field)
  case "$picked" in
    'C:\'*'\Documents' | 'C:\'*'\Documents\') ;;
    *) fail "path field after choosing Documents in the browser: [$picked]" ;;
  esac
  expect_state "$DLG_ADD" $IDOK 1 0 "Add after a folder was chosen"
  # Tab and the arrow keys, as in the options.
  dlg_click "$DLG_ADD" $IDC_NAME_EDIT
  expect_soon $IDC_NAME_EDIT "the focus after a click on the name" dlg_focus_id
  local focus="$IDC_PATH_EDIT $IDC_BROWSE $IDC_SORT_ABC $IDC_ABC_COUNT $IDOK $IDCANCEL $IDC_NAME_EDIT"
  focus+=" $IDC_PATH_EDIT $IDC_BROWSE $IDC_SORT_ABC $IDC_SORT_EXT $IDC_SORT_ABC $IDC_SORT_EXT $IDC_EXT_COUNT"
  expect_eq "$focus" "$(dlg_focus_path Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Down Down Up Tab)" \
    "keys in the add dialog"
  dlg_close "$DLG_ADD" $IDCANCEL
  expect_stays "C Drive" "rows after cancelling the add dialog" dlg_row_names
  ADD_SHOT=add-item add_in_dialog Projects "$projects" $IDC_SORT_EXT 10
  dlg_shot edit-folder-menu "$DLG_EDIT"
  dlg_close "$DLG_EDIT" $IDOK
  expect_eq "Projects|$projects\\|0x2|0xa" "$(stored_root 0000)" "root 0000 after OK"
  expect_eq "C Drive|C:\\|0x1|0x19" "$(stored_root 0001)" "root 0001 after OK"
  expect_eq "Projects|C Drive" "$(stored_names)" "stored roots after OK"
  expect_eq 2 "$(folder_menu_entries 1 folder-menu-after-ok)" "Folder Menu entries after OK"

  # Apply, then Cancel: what was applied stays. The number field takes no
  # more digits than fit in 32 bits.
  config_command 3 4 "$DLG_EDIT"
  add_in_dialog Archive "$archive" $IDC_SORT_ABC 12345678901
  expect_soon $'Archive\tABC > 123456789 items' "a number of eleven digits" first_row_sorting
  dlg_click "$DLG_EDIT" $IDC_APPLY
  expect_soon "Archive|Projects|C Drive" "stored roots after Apply" stored_names
  dlg_close "$DLG_EDIT" $IDCANCEL
  expect_eq "Archive|Projects|C Drive" "$(stored_names)" "stored roots after Apply and Cancel"
  expect_eq 0x75bcd15 "$(reg_value "$MENU_KEY\\0000" MaxNoSort)" "stored MaxNoSort of 123456789"
  expect_eq 3 "$(folder_menu_entries 1)" "Folder Menu entries after Apply and Cancel"

  # Delete by key, then the close box and "No": nothing changes.
  config_command 3 4 "$DLG_EDIT"
  dlg_click_row 0
  xdotool key Delete
  dlg_wait "$DLG_DELETE"
  expect_contains "$(e2e_driver texts '#32770' "$DLG_DELETE")" "Are you sure you want to delete the selected items?" "the delete question"
  dlg_close "$DLG_DELETE" $IDYES
  expect_soon "Projects|C Drive" "rows after deleting row 0" dlg_row_names
  dlg_click_close_box "$DLG_EDIT"
  dlg_wait "$DLG_SAVE"
  expect_contains "$(e2e_driver texts '#32770' "$DLG_SAVE")" \
    'Do you want to save any changes that have been\nmade to the Folder Menu from the "Edit Menu Items"\ndialog before closing it?' \
    "the save question"
  dlg_shot save-question "$DLG_SAVE"
  dlg_click "$DLG_SAVE" $IDNO
  dlg_wait_gone "$DLG_EDIT"
  expect_eq "Archive|Projects|C Drive" "$(stored_names)" "stored roots after closing with No"
  expect_eq 3 "$(folder_menu_entries 1)" "Folder Menu entries after closing with No"
}

# ---- Exit while the edit dialog is open: the question first, then the end ----
story_exit_question() {
  store_root 0000 Archive "$archive\\" 1 123456789
  store_root 0001 Projects "$projects\\" 2 10
  store_root 0002 'C Drive' 'C:\' 1 25
  e2e_start_program
  config_command 3 4 "$DLG_EDIT"
  dlg_click_row 0
  dlg_click "$DLG_EDIT" $IDC_MOVE_DOWN
  expect_soon "Projects|Archive|C Drive" "rows after moving row 0 down" dlg_row_names
  config_command 3 7 "$DLG_SAVE"
  [ -s "$E2E_WORK/exitcode" ] && fail "the program ended before the save question was answered"
  dlg_click "$DLG_SAVE" $IDYES
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code after Exit"
  expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log after Exit"
  expect_eq "Projects|Archive|C Drive" "$(stored_names)" "stored roots after Exit and Yes"
}

# ---- A start with five roots: moves, deletes, edits --------------------------
story_five_roots() {
  store_root 0000 Projects "$projects\\" 2 10
  store_root 0001 Archive "$archive\\" 1 123456789
  store_root 0002 'C Drive' 'C:\' 1 25
  store_root 0003 Docs 'C:\docs\' 0 0
  store_root 0004 Odd 'C:\odd\' 7 5
  e2e_start_program
  config_command 3 4 "$DLG_EDIT"
  expect_eq "Projects|Archive|C Drive|Docs|Odd" "$(dlg_row_names)" "the stored list after a restart"
  expect_eq $'Docs\tNo Sorting|Odd\tUnknown (7)' "$(dlg_rows | tail -n 2 | cut -f3,5 | paste -sd'|')" \
    "third column without grouping and with a type of no meaning"

  dlg_click_row 1
  xdotool keydown ctrl
  dlg_click_row 3
  xdotool keyup ctrl
  expect_soon "1 3" "selection before moving down" dlg_selected_rows
  dlg_click "$DLG_EDIT" $IDC_MOVE_DOWN
  expect_soon "Projects|C Drive|Archive|Odd|Docs" "rows 1 and 3 moved down" dlg_row_names
  expect_eq "2 4" "$(dlg_selected_rows)" "selection after moving down"
  dlg_shot edit-folder-menu-rows "$DLG_EDIT"

  dlg_click_row 0
  xdotool keydown ctrl
  dlg_click_row 2
  xdotool keyup ctrl
  expect_soon "0 2" "selection before moving up" dlg_selected_rows
  dlg_click "$DLG_EDIT" $IDC_MOVE_UP
  expect_stays "Projects|C Drive|Archive|Odd|Docs" "rows 0 and 2 up: nothing moves" dlg_row_names
  expect_eq "0 2" "$(dlg_selected_rows)" "selection after moving up"

  # Nothing selected: the question still comes, and Yes deletes nothing.
  dlg_click_list_blank
  expect_soon "" "selection after a click below the rows" dlg_selected_rows
  dlg_click "$DLG_EDIT" $IDC_DELETE_ITEM
  dlg_wait "$DLG_DELETE"
  dlg_close "$DLG_DELETE" $IDYES
  expect_stays "Projects|C Drive|Archive|Odd|Docs" "rows after deleting nothing" dlg_row_names

  # A double click below the rows edits nothing; on a row it edits that row.
  # Home, pressed after the first, selects row 0 once it has been handled.
  xdotool mousemove 0 0
  dlg_click_list_blank --repeat 2 --delay 80
  xdotool key Home
  expect_soon 0 "selection after Home" dlg_selected_rows
  expect_eq 0 "$(dlg_count "$DLG_EDIT_ONE")" "edit dialogs after a double click below the rows"
  dlg_click_row 0 --repeat 2 --delay 80
  dlg_wait "$DLG_EDIT_ONE"
  expect_centred "$DLG_EDIT_ONE" "$DLG_EDIT"
  expect_eq "$projects\\" "$(dlg_state "$DLG_EDIT_ONE" $IDC_PATH_EDIT | cut -f3)" "path of the edited root"
  expect_state "$DLG_EDIT_ONE" $IDC_SORT_EXT 1 1 "type grouping of the edited root"
  expect_eq $'1\t0\t10' "$(dlg_state "$DLG_EDIT_ONE" $IDC_EXT_COUNT)" "type number field of the edited root"
  expect_eq $'0\t0\t30' "$(dlg_state "$DLG_EDIT_ONE" $IDC_ABC_COUNT)" "letter number field of the edited root"
  dlg_shot edit-item "$DLG_EDIT_ONE"
  dlg_type_into "$DLG_EDIT_ONE" $IDC_NAME_EDIT ""
  expect_state "$DLG_EDIT_ONE" $IDOK 0 0 "Edit with the name cleared"
  # The long name goes in whole and is stored whole.
  DLG_TYPE_DELAY=2 dlg_type_into "$DLG_EDIT_ONE" $IDC_NAME_EDIT "$long_name"
  expect_state "$DLG_EDIT_ONE" $IDOK 1 0 "Edit with a name again"
  dlg_close "$DLG_EDIT_ONE" $IDOK
  expect_soon "$long_name|C Drive|Archive|Odd|Docs" "rows after editing row 0" dlg_row_names

  # Two adjacent rows: the second moves up into the first's place as it goes.
  dlg_click_row 1
  xdotool keydown shift
  dlg_click_row 2
  xdotool keyup shift
  expect_soon "1 2" "selection before deleting two rows" dlg_selected_rows
  dlg_click "$DLG_EDIT" $IDC_DELETE_ITEM
  dlg_wait "$DLG_DELETE"
  dlg_close "$DLG_DELETE" $IDYES
  expect_soon "$long_name|Odd|Docs" "rows after deleting rows 1 and 2" dlg_row_names
  # With no grouping chosen, Tab still stops at the choice.
  dlg_click_row 2 --repeat 2 --delay 80
  dlg_wait "$DLG_EDIT_ONE"
  expect_eq "$IDC_PATH_EDIT $IDC_BROWSE $IDC_SORT_ABC $IDOK" "$(dlg_focus_path Tab Tab Tab Tab)" \
    "Tab through an entry without grouping"
  dlg_close "$DLG_EDIT_ONE" $IDCANCEL
  # An owner moved near the right edge of the screen: the add dialog,
  # centred on it, is kept on the work area.
  local y
  read -r _ y _ _ <<<"$(e2e_driver rect '#32770' "$DLG_EDIT" 0 | tr -d '\r')"
  e2e_driver move '#32770' "$DLG_EDIT" 880 "$y" || fail "the edit dialog could not be moved"
  dlg_click "$DLG_EDIT" $IDC_ADD_ITEM
  dlg_wait "$DLG_ADD"
  expect_on_work_area "$DLG_ADD" "the add dialog of an owner at the right edge"
  dlg_close "$DLG_ADD" $IDCANCEL
  dlg_close "$DLG_EDIT" $IDOK
  expect_soon "$long_name|Odd|Docs" "stored roots after OK" stored_names
  expect_eq 3 "$(folder_menu_entries 1)" "Folder Menu entries after OK"
  config_command 3 7
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code after the second run"
}

# ---- A start with the buttons swapped and the introduction on ---------------
story_swapped_start() {
  store_root 0000 "$long_name" "$projects\\" 2 10
  store_root 0001 'C Drive' 'C:\' 1 25
  store_root 0002 Archive "$archive\\" 1 123456789
  store_root 0003 Odd 'C:\odd\' 7 5
  store_root 0004 Docs 'C:\docs\' 0 0
  store_option LeftClickRoot 0
  store_option RunOnStartup 0
  store_option TrayHelpAtStartup 1
  store_option SplashScreenAtStartup 0
  e2e_launch_program
  dlg_wait "$DLG_HELP" 30000
  expect_eq 0 "$(dlg_count '')" "splash windows with the splash turned off"
  local help
  help=$(e2e_driver texts '#32770' "$DLG_HELP")
  expect_contains "$help" $IDC_HELP_LINE1$'\tStatic\tLeft-Click the icon to open the Configuration Menu.' "first instruction, buttons swapped"
  expect_contains "$help" $IDC_HELP_LINE2$'\tStatic\tRight-Click the icon to open the Folder Menu to browse your folders.' "second instruction, buttons swapped"
  # The close box answers as "don't show" does.
  dlg_click_close_box "$DLG_HELP"
  dlg_wait_gone "$DLG_HELP"
  dlg_dismiss_notice
  config_command 1 4 "$DLG_EDIT"
  # The long name loads back whole.
  expect_eq "$long_name|C Drive|Archive|Odd|Docs" "$(dlg_row_names)" "the list after a start"
  dlg_close "$DLG_EDIT" $IDCANCEL
  config_command 1 5 "$DLG_OPTIONS"
  expect_state "$DLG_OPTIONS" $IDC_NO_SPLASH 1 1 "no-splash as stored"
  dlg_close "$DLG_OPTIONS" $IDOK
  expect_eq 0x0 "$(reg_value "$OPTIONS_KEY" TrayHelpAtStartup)" "TrayHelpAtStartup after closing the introduction"
  config_command 1 7
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code at the end"
  expect_eq "----Logging Stopped----" "$(e2e_log_text | tail -n 1)" "last line of the log at the end"
}

# ---- Every dialog at 100%, 125%, 150% and 200% --------------------------------
# The pictures are the ones drawn for the scale (or shrunk to it), and follow
# a dialog onto a monitor of another scale (WM_DPICHANGED, which Wine never
# sends, delivered as Windows sends it); no text is cut.
IDM_EDIT_FOLDER_MENU=2000
IDM_PROGRAM_OPTIONS=2001
IDM_ABOUT=2003

# dialog_at_scale TITLE DPI NAME: its texts fit; a screenshot.
dialog_at_scale() {
  expect_texts_fit "$1" "[$1] at $2 dpi"
  dlg_shot "$3-$2" "$1"
}

# picture_follows TITLE ID W H DPI WHAT: the picture at DPI, then at the
# other end of the scales once the dialog has moved there, where the system
# scales its layout by the change.
picture_follows() {
  local moved=$(($5 == 192 ? 96 : 192)) room
  room=$(room_dpi "$1" "$5")
  expect_picture "$1" "$2" "$3" "$4" "$5" "$6" "$room"
  e2e_driver dpi-changed '#32770' "$1" "$moved" || fail "$6: WM_DPICHANGED not delivered"
  expect_picture "$1" "$2" "$3" "$4" "$moved" "$6 moved to another monitor" $((room * moved / $5))
}

# The width of each dialog's OK button at 96 dpi, by title.
declare -A ok_width_96
# room_dpi TITLE DPI: the scale the dialog's layout grew to, as a DPI: its
# OK button's width against the same at 96 dpi.
room_dpi() {
  local w
  read -r _ _ w _ <<<"$(e2e_driver rect '#32770' "$1" $IDOK | tr -d '\r')"
  echo $((96 * w / ${ok_width_96[$1]}))
}
remember_ok_width() {
  read -r _ _ "ok_width_96[$1]" _ <<<"$(e2e_driver rect '#32770' "$1" $IDOK | tr -d '\r')"
}

story_scales() {
  local dpi
  for dpi in 96 120 144 192; do
    e2e_with_settings "$dpi"
    e2e_launch_program
    e2e_driver wait-window '#32770' '' 20000 >/dev/null || fail "no splash at $dpi dpi"
    expect_picture '' $IDC_SPLASH_PICTURE 500 100 "$dpi" "the splash"
    dlg_wait "$DLG_HELP" 30000
    ((dpi != 96)) || remember_ok_width "$DLG_HELP"
    dialog_at_scale "$DLG_HELP" "$dpi" introduction
    picture_follows "$DLG_HELP" $IDC_TRAYHELP_PICTURE 163 36 "$dpi" "the introduction"
    dlg_close "$DLG_HELP" $IDOK
    dlg_dismiss_notice

    config_post $IDM_ABOUT
    dlg_wait "$DLG_ABOUT"
    ((dpi != 96)) || remember_ok_width "$DLG_ABOUT"
    dialog_at_scale "$DLG_ABOUT" "$dpi" about
    picture_follows "$DLG_ABOUT" $IDC_ABOUT_PICTURE 200 60 "$dpi" "the about box"
    dlg_close "$DLG_ABOUT" $IDOK
    config_post $IDM_PROGRAM_OPTIONS
    dlg_wait "$DLG_OPTIONS"
    dialog_at_scale "$DLG_OPTIONS" "$dpi" options
    dlg_close "$DLG_OPTIONS" $IDCANCEL
    config_post $IDM_EDIT_FOLDER_MENU
    dlg_wait "$DLG_EDIT"
    dialog_at_scale "$DLG_EDIT" "$dpi" edit-folder-menu
    dlg_click "$DLG_EDIT" $IDC_ADD_ITEM
    dlg_wait "$DLG_ADD"
    dialog_at_scale "$DLG_ADD" "$dpi" add-item
    dlg_close "$DLG_ADD" $IDCANCEL
    dlg_close "$DLG_EDIT" $IDCANCEL
  done
}

"story_$story"
