# Shared by the dialog tests: dialogs found by their titles and worked by
# real mouse clicks and keys, as the user does. Sourced after lib.sh and
# traylib.sh.

DLG_EDIT="Pathwick Pro: Edit Folder Menu Items"
DLG_OPTIONS="Pathwick Pro: Options"
DLG_ABOUT="About Pathwick Pro"
DLG_HELP="Pathwick Pro Introduction"
DLG_ADD="Add New Menu Item"
DLG_EDIT_ONE="Edit A Menu Item"
DLG_SAVE="Pathwick: Save Changes?"
# The delete question has an empty caption.
DLG_DELETE=""
# The system's own buttons.
IDOK=1
IDCANCEL=2
IDYES=6
IDNO=7

# The controls by the names the program gives them (IDC_DONT_SHOW and the
# rest, set here as variables of those names), read from its resource
# header: the tests follow a number changed there.
dlg_read_control_ids() {
  local name id
  while read -r name id; do
    printf -v "$name" %d "$id"
  done < <(sed -n 's/^#define \(IDC_[A-Z0-9_]*\)[[:space:]]\+\([0-9]\+\)\>.*/\1 \2/p' "$1")
  [ -n "${IDC_ROOT_LIST:-}" ] || fail "no control ids in $1"
}
dlg_read_control_ids "$E2E_HERE/../../src/resources/resource.h"

# The dialogs ask for 8 point "MS Sans Serif" and Windows draws the caption
# buttons with "Marlett". Wine's own versions of those fonts (the
# fonts-wine package) are not where this Wine looks for them: put into the
# prefix, they give the program the widths its layouts were made for.
dlg_use_wine_fonts() {
  local fonts=/usr/share/wine/fonts
  [ -d "$fonts" ] || { echo "note: $fonts missing, the dialogs are drawn with substitute fonts" >&2; return 0; }
  cp "$fonts"/*.fon "$fonts"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
}

# Waits until the dialog is on screen, painted and active: keys reach it.
dlg_wait() {
  e2e_driver wait-active '#32770' "$1" "${2:-10000}" >/dev/null || fail "the dialog [$1] did not open"
  dlg_follow_x_focus "$1"
}

# Wine detour: Wine hands a window it activates the X keyboard focus, and
# with no window manager on this display that request is now and then lost:
# the focus stays on the taskbar's X window (1024x20, no name). Windows then
# calls the dialog the one that gets the keys while X sends them to the
# taskbar, where they are lost (seen for the options dialog, about one open
# in a hundred). The X focus is put on the dialog's X window, as a window
# manager would; on Windows the activation alone does it.
dlg_follow_x_focus() {
  local w h window size
  read -r _ _ w h <<<"$(e2e_driver rect '#32770' "$1" 0 | tr -d '\r')"
  for window in $(xdotool search --onlyvisible --name "^$(sed 's/[][\.*^$?+(){}|]/\\&/g' <<<"$1")\$"); do
    size=$(xdotool getwindowgeometry --shell "$window" | sed -n 's/^\(WIDTH\|HEIGHT\)=//p' | tr '\n' ' ')
    [ "$size" == "$w $h " ] || continue
    [ "$(xdotool getwindowfocus)" == "$window" ] || xdotool windowfocus --sync "$window"
    return 0
  done
  fail "no X window for the dialog [$1]"
}

dlg_has_focus() {
  [ "$(e2e_driver focus | tr -d '\r' | cut -f2)" == "$1" ]
}

dlg_focus_id() { e2e_driver focus | tr -d '\r' | cut -f1; }

# dlg_focus_path KEY...: the focused control after each key, each pressed
# once the one before has moved the focus.
dlg_focus_path() {
  local key path=()
  E2E_PRINTED=$(dlg_focus_id)
  for key; do
    xdotool key "$key"
    e2e_wait_until 5 e2e_not e2e_prints "$E2E_PRINTED" dlg_focus_id || true
    path+=("$E2E_PRINTED")
  done
  echo "${path[*]}"
}

# expect_centred TITLE [OWNER]: the dialog's middle is the dialog OWNER's,
# or else that of the screen above the taskbar, to a pixel or two.
expect_centred() {
  local x y w h ax=0 ay=0 aw=1024 ah
  read -r x y w h <<<"$(e2e_driver rect '#32770' "$1" 0 | tr -d '\r')"
  read -r _ ah _ _ <<<"$(e2e_driver rect Shell_TrayWnd - 0 | tr -d '\r')"
  [ -z "${2:-}" ] || read -r ax ay aw ah <<<"$(e2e_driver rect '#32770' "$2" 0 | tr -d '\r')"
  local dx=$((2 * x + w - 2 * ax - aw)) dy=$((2 * y + h - 2 * ay - ah))
  ((dx * dx + dy * dy <= 32)) || fail "[$1] at $x $y $w $h is not centred on ${2:-the work area}"
}

# expect_on_work_area TITLE WHAT: the whole dialog is on the work area of
# its monitor (the screen less the taskbar).
expect_on_work_area() {
  local x y w h ax ay aw ah
  read -r x y w h <<<"$(e2e_driver rect '#32770' "$1" 0 | tr -d '\r')"
  read -r ax ay aw ah <<<"$(e2e_driver work-area '#32770' "$1" | tr -d '\r')"
  ((x >= ax && y >= ay && x + w <= ax + aw && y + h <= ay + ah)) ||
    fail "$2: [$1] at $x $y $w $h leaves the work area $ax $ay $aw $ah"
}

# Keys reach the dialog once it is the active window again.
dlg_wait_focus() {
  e2e_wait_until 10 dlg_has_focus "$1" || fail "the dialog [$1] did not take the focus"
  dlg_follow_x_focus "$1"
}

dlg_wait_gone() {
  e2e_driver wait-gone '#32770' "$1" "${2:-10000}" >/dev/null || fail "the dialog [$1] stayed open"
}

dlg_is_open() {
  [ "$(e2e_driver count '#32770' "$1" | tr -d '\r')" != 0 ]
}

dlg_count() {
  e2e_driver count '#32770' "$1" | tr -d '\r'
}

# dlg_click TITLE ID [BUTTON]: a real click in the middle of the control.
dlg_click() {
  local x y w h
  read -r x y w h <<<"$(e2e_driver rect '#32770' "$1" "$2" | tr -d '\r')"
  [ -n "$h" ] || fail "no control $2 in [$1]"
  e2e_click $((x + w / 2)) $((y + h / 2)) "${3:-1}"
}

# dlg_close TITLE ID: a click on the control, which closes the dialog.
dlg_close() {
  dlg_click "$1" "$2"
  dlg_wait_gone "$1"
}

# The title bar's close box.
dlg_click_close_box() {
  local x y w h
  read -r x y w h <<<"$(e2e_driver rect '#32770' "$1" 0 | tr -d '\r')"
  e2e_click $((x + w - 12)) $((y + 11))
}

# "enabled<TAB>checked<TAB>text" of a control.
dlg_state() {
  e2e_driver control '#32770' "$1" "$2" | tr -d '\r'
}

# "enabled checked" of a control.
dlg_flags() {
  dlg_state "$1" "$2" | cut -f1,2 | tr '\t' ' '
}

# expect_state TITLE ID ENABLED CHECKED WHAT: the control comes to that state.
expect_state() {
  expect_soon "$3 $4" "$5 (enabled checked of $2)" dlg_flags "$1" "$2"
}

# Rows of the edit dialog's list: "row<TAB>selected<TAB>name<TAB>path<TAB>sorting".
dlg_rows() {
  e2e_driver list '#32770' "$DLG_EDIT" "$IDC_ROOT_LIST" | tr -d '\r'
}

# The names of the rows, in order, separated by "|".
dlg_row_names() {
  dlg_rows | cut -f3 | paste -sd'|'
}

# The selected rows' numbers, separated by blanks.
dlg_selected_rows() {
  dlg_rows | awk -F'\t' '$2 == 1 { printf "%s%s", sep, $1; sep = " " }'
}

# dlg_click_row ROW [xdotool click options]: a click on the row's name.
dlg_click_row() {
  local row=$1 x y w h
  shift
  read -r x y w h <<<"$(e2e_driver list-row-rect '#32770' "$DLG_EDIT" "$IDC_ROOT_LIST" "$row" | tr -d '\r')"
  [ -n "$h" ] || fail "no row $row in the list"
  xdotool mousemove $((x + 20)) $((y + h / 2)) click "$@" 1
}

# The blank part of the list below its rows.
dlg_click_list_blank() {
  local x y w h
  read -r x y w h <<<"$(e2e_driver rect '#32770' "$DLG_EDIT" "$IDC_ROOT_LIST" | tr -d '\r')"
  xdotool mousemove $((x + 40)) $((y + h - 10)) click "$@" 1
}

# Replaces the text of a field: click into it, select all, type.
dlg_type_into() {
  dlg_click "$1" "$2"
  xdotool key --clearmodifiers End shift+Home BackSpace
  xdotool type --delay "${DLG_TYPE_DELAY:-20}" -- "$3"
}

# The start-up notice that follows the introduction, dismissed.
dlg_dismiss_notice() {
  e2e_wait_menu 10 >/dev/null || fail "no start-up notice after the introduction"
  e2e_dismiss_menu
}

# A command of the Configuration Menu, chosen by real clicks: BUTTON opens
# the menu, ENTRY is its position (1 "Program Help...", 2 "About...",
# 4 "Edit Folder Menu...", 5 "Program Options...", 7 "Exit"); then the
# dialog TITLE, if given, is waited for.
config_command() {
  local button=$1 entry=$2
  open_config_menu "$button" "config-menu-$entry"
  click_entry "$CONFIG_BANDS" "$entry"
  [ -z "${3:-}" ] || dlg_wait "$3"
}

# A screenshot of one dialog, cut from the desktop: NAME TITLE.
dlg_shot() {
  local shot x y w h
  shot=$(e2e_screenshot "$1")
  read -r x y w h <<<"$(e2e_driver rect '#32770' "$2" 0 | tr -d '\r')"
  convert "$shot" -crop "${w}x${h}+${x}+${y}" +repage "${shot%.png}-dialog.png"
}

# expect_picture TITLE ID W H DPI WHAT [ROOM_DPI]: the picture control
# shows the picture of W x H pixels at 100% as made for DPI: drawn for it or
# shrunk to it. Where the dialog's layout grew less than its DPI (ROOM_DPI,
# the scale its font gave it: Wine's "MS Sans Serif" stops at its 150%
# size), as made for the room the layout gives it. To 3% (the layout's
# scale is read from a button, whose units round otherwise).
expect_picture() {
  local shown w h scale=$5
  [ -n "${7:-}" ] && (($7 < scale)) && scale=$7
  local ew=$(($3 * scale / 96)) eh=$(($4 * scale / 96))
  shown=$(e2e_driver picture '#32770' "$1" "$2" | tr -d '\r') || fail "$6: no picture at $5 dpi"
  read -r _ w h <<<"$shown"
  ((w >= ew - ew * 3 / 100 - 1 && w <= ew + ew * 3 / 100 + 1 && h >= eh - eh * 3 / 100 - 1 && h <= eh + eh * 3 / 100 + 1)) ||
    fail "$6 at $5 dpi: a picture of ${w}x$h, not ${ew}x$eh"
}

# The face and size of the dialogs' font, as their templates give it.
read -r DLG_FONT_POINTS DLG_FONT_FACE < <(sed -n 's/^FONT[[:space:]]*\([0-9]*\),[[:space:]]*"\(.*\)".*/\1 \2/p' \
  "$E2E_HERE/../../src/resources/pathwick.rc" | sort -u)

# expect_texts_fit TITLE WHAT: no static text of the dialog needs more room
# than its control has.
expect_texts_fit() {
  local unfit
  unfit=$(e2e_driver unfit-texts '#32770' "$1" "$DLG_FONT_FACE" "$DLG_FONT_POINTS" | tr -d '\r') ||
    fail "$2: the texts could not be measured"
  [ -z "$unfit" ] || fail "$2: texts cut (id, needed, given, text): $unfit"
}

# A command of the Configuration Menu (IDM_ABOUT and the rest) as the menu
# sends it to the program's window.
config_post() {
  e2e_driver post PathwickDummyWindow 0x111 "$1" 0 >/dev/null || fail "no program window for command $1"
}

# reg_value KEY NAME: the data of a value as "reg query" prints it, or
# nothing when it is missing.
reg_value() {
  local text rc try
  for try in 1 2 3; do
    rc=0
    text=$(e2e_wine reg query "$1" /v "$2" 2>/dev/null) || rc=$?
    # 1: no such key or value. Any other failure is Wine's reg that did not
    # get to answer on a busy machine (a root once read back without its
    # name): asked again.
    ((rc == 0 || rc == 1)) && break
  done
  tr -d '\r' <<<"$text" | awk -v name="$2" '$1 == name { sub(/^[ ]*[^ ]+[ ]+[^ ]+[ ]+/, ""); print }'
}

# A stored root as "name|path|sorttype|maxnosort" (numbers as 0x... hex).
stored_root() {
  local key="$MENU_KEY\\$1"
  echo "$(reg_value "$key" Name)|$(reg_value "$key" Path)|$(reg_value "$key" SortType)|$(reg_value "$key" MaxNoSort)"
}

# The names of the stored roots 0000, 0001, ... until the first missing one.
stored_names() {
  local i name names=()
  for ((i = 0; i < 50; i++)); do
    name=$(reg_value "$MENU_KEY\\$(printf %04d $i)" Name)
    [ -n "$name" ] || break
    names+=("$name")
  done
  (IFS='|'; echo "${names[*]}")
}

# The Folder Menu opened with BUTTON: its number of entries.
folder_menu_entries() {
  e2e_tray_click "$1"
  wait_single_menu 10 "the Folder Menu's button"
  local layout
  layout=$(layout_of "$(menu_entries "${2:-folder-menu}")")
  e2e_dismiss_menu
  echo "${#layout}"
}
