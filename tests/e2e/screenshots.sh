#!/usr/bin/env bash
# The README's pictures, taken from the real program by real input: a first
# start (splash, introduction), the Folder Menu as a plain listing (at 100%
# and at 150%), in letter groups and in file-type groups, the shell's context menu of a file, the
# Configuration Menu and every dialog it opens. Each picture is the menus or
# the dialog with a little desktop around, in 256 colours, written to
# $PATHWICK_PICTURES_DIR (scripts/screenshots.sh: docs/screenshots). Every
# step checks that what it pictures is on screen.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/menulib.sh"
. "$E2E_HERE/dialoglib.sh"
e2e_init screenshots
pictures=${PATHWICK_PICTURES_DIR:-$E2E_WORK/pictures}
mkdir -p "$pictures"
MARGIN=12

dlg_use_wine_fonts

# ---- Folders that look like a user's, on drive C: ----------------------------
home=$WINEPREFIX/drive_c/Documents
mkdir -p "$home/Projects/Letters" "$home/Projects/Photos" "$home/Projects/Reports" \
  "$home/Library" "$home/Downloads"
touch "$home/Projects/"{"budget 2026.xls","meeting notes.txt","plan.doc","todo.txt"} \
  "$home/Projects/Reports/"{"annual report.doc","figures.xls","summary.txt"}
touch "$home/Library/"{"Alice in Wonderland","Anna Karenina","Bleak House","Candide",\
"Dracula","Emma","Frankenstein","Great Expectations","Hamlet","Ivanhoe","Jane Eyre",\
"Kidnapped","Little Women","Middlemarch","Moby Dick","Persuasion","Ulysses"}.txt
touch "$home/Downloads/"{"setup.exe","tools.exe","manual.pdf","datasheet.pdf","invoice.pdf",\
"photos.zip","sources.zip","logo.png","map.png","readme.txt"}
store_root 0000 Projects 'C:\Documents\Projects' 0 25
store_root 0001 Library 'C:\Documents\Library' 1 5
store_root 0002 Downloads 'C:\Documents\Downloads' 2 5
# Names in three scripts besides Latin, each shown in its own.
mkdir -p "$home/World/Москва"
touch "$home/World/"{"Отчёт 2026.doc","Παρουσίαση.ppt","東京 旅行.txt","notes.txt"}
store_root 0003 Κόσμος 'C:\Documents\World' 0 25

# picture NAME X Y W H: the region with MARGIN pixels of desktop around it,
# cut from a fresh screenshot.
picture() {
  local name=$1 x=$(($2 - MARGIN)) y=$(($3 - MARGIN)) w=$(($4 + 2 * MARGIN)) h=$(($5 + 2 * MARGIN)) shot
  ((x < 0)) && w=$((w + x)) && x=0
  ((y < 0)) && h=$((h + y)) && y=0
  shot=$(e2e_screenshot "$name")
  # No time chunks: the same picture makes the same file.
  convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage -colors 256 -define png:exclude-chunks=date,time "PNG8:$pictures/$name.png"
  echo "picture $name.png ${w}x${h}"
}

# The region that holds every open menu, once they are drawn.
menus_picture() {
  e2e_driver wait-drawn '#32768' - 5000 >/dev/null || fail "the menus for $1 were not drawn"
  picture "$1" $(open_menus | awk 'NR == 1 { l = $1; t = $2; r = $1 + $3; b = $2 + $4 }
    { if ($1 < l) l = $1; if ($2 < t) t = $2; if ($1 + $3 > r) r = $1 + $3; if ($2 + $4 > b) b = $2 + $4 }
    END { print l, t, r - l, b - t }')
}

dialog_picture() { # NAME TITLE
  picture "$1" $(e2e_driver rect '#32770' "$2" 0 | tr -d '\r')
}

# Band N of the topmost menu: its text kinds checked against LAYOUT first;
# ICON_CELL pixels at the left, where the entries' pictures are, left out.
ICON_CELL=22
hover_entry() { # NAME LAYOUT N
  local bands
  bands=$(top_bands "$1" $ICON_CELL)
  expect_eq "$2" "$(layout_of "$bands")" "entries of the menu in $1.png"
  hover_band "$bands" "$3"
}

# ---- A first start: the splash, then the introduction ------------------------
e2e_launch_program
e2e_driver wait-drawn '#32770' '' 20000 >/dev/null || fail "no splash at the first start"
dialog_picture splash ""
dlg_wait "$DLG_HELP" 20000
dialog_picture introduction "$DLG_HELP"
dlg_close "$DLG_HELP" $IDOK
dlg_dismiss_notice

# ---- The Folder Menu ---------------------------------------------------------
# The roots, then a root's own listing: Open Folder, three folders, four files.
open_root 1 roots TTTT
hover_entry projects TTTTTTTT 4
wait_menus 3 "the folder Reports"
hover_entry reports TTTT 3
menus_picture folder-menu-plain

# The shell's context menu of that file.
xdotool click 3
wait_menus 4 "a right-click on a file"
expect_eq TSTTSTTST "$(layout_of "$(top_bands context-check 3)")" "entries of the context menu"
menus_picture context-menu
e2e_click 600 300
wait_menus 0 "closing the context menu"

# Seventeen titles grouped by first letter (more than five).
open_root 2 roots TTTT
hover_entry library TTTTTTTTTTTTTTTTT 3
wait_menus 3 "a letter group"
menus_picture folder-menu-letters
e2e_dismiss_menu

# Ten downloads grouped by file type (more than five).
open_root 3 roots TTTT
hover_entry downloads TTTTTTTT 5
wait_menus 3 "a file-type group"
menus_picture folder-menu-types
e2e_dismiss_menu

# A root named in Greek, its folder and files in Cyrillic, Greek and CJK.
open_root 4 roots TTTT
menus_picture folder-menu-scripts
e2e_dismiss_menu

# ---- The Configuration Menu and its dialogs ------------------------------------
open_config_menu 3 config
menus_picture configuration-menu
e2e_dismiss_menu

config_command 3 2 "$DLG_ABOUT"
dialog_picture about "$DLG_ABOUT"
dlg_close "$DLG_ABOUT" $IDOK

config_command 3 5 "$DLG_OPTIONS"
dialog_picture options "$DLG_OPTIONS"
dlg_close "$DLG_OPTIONS" $IDCANCEL

config_command 3 4 "$DLG_EDIT"
expect_eq "Projects|Library|Downloads|Κόσμος" "$(dlg_row_names)" "rows of the edit dialog"
dialog_picture edit-folder-menu "$DLG_EDIT"
dlg_click "$DLG_EDIT" $IDC_ADD_ITEM
dlg_wait "$DLG_ADD"
dlg_type_into "$DLG_ADD" $IDC_NAME_EDIT "Music"
dlg_type_into "$DLG_ADD" $IDC_PATH_EDIT 'C:\users\Public\Music'
dlg_click "$DLG_ADD" $IDC_SORT_ABC
dlg_type_into "$DLG_ADD" $IDC_ABC_COUNT 30
expect_state "$DLG_ADD" $IDOK 1 0 "Add with a name and a path"
dialog_picture add-item "$DLG_ADD"
dlg_close "$DLG_ADD" $IDCANCEL
dlg_click_row 2
dlg_click "$DLG_EDIT" $IDC_EDIT_ITEM
dlg_wait "$DLG_EDIT_ONE"
expect_state "$DLG_EDIT_ONE" $IDC_SORT_EXT 1 1 "type grouping of Downloads"
dialog_picture edit-item "$DLG_EDIT_ONE"
dlg_close "$DLG_EDIT_ONE" $IDCANCEL
dlg_click "$DLG_EDIT" $IDC_MOVE_UP
expect_eq "Projects|Downloads|Library|Κόσμος" "$(dlg_row_names)" "rows after moving Downloads up"
dlg_click_close_box "$DLG_EDIT"
dlg_wait "$DLG_SAVE"
dialog_picture save-question "$DLG_SAVE"
dlg_click "$DLG_SAVE" $IDNO
dlg_wait_gone "$DLG_EDIT"

config_command 3 7
expect_eq 0 "$(e2e_wait_exit 30)" "exit code after Exit"

# ---- The plain listing again at 150% ---------------------------------------------
e2e_with_settings 144
e2e_start_program
ICON_CELL=33
open_root 1 roots-150 TTTT
hover_entry projects-150 TTTTTTTT 4
wait_menus 3 "the folder Reports at 150%"
hover_entry reports-150 TTTT 3
menus_picture folder-menu-plain-150
e2e_dismiss_menu
e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
expect_eq 0 "$(e2e_wait_exit 30)" "exit code at 150%"
