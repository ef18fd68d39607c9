#!/usr/bin/env bash
# Long use by real input: the Folder Menu opened from the tray, browsed
# three levels down and closed; each dialog of the Configuration Menu
# opened and closed (and the add and edit dialogs from the edit dialog).
# After each run of cycles the program's GDI objects, USER objects and
# handles are where they were, its private memory has not grown, and the
# run log holds no failure. The probe build (the program with
# tests/tools/fault_probe.cpp linked in) writes its counts to the run log
# when asked. PATHWICK_SOAK_CYCLES Folder Menu cycles (20 unless told) and
# PATHWICK_SOAK_DIALOG_CYCLES cycles of each dialog (3 unless told);
# scripts/soak.sh runs 1,000 and 200.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/menulib.sh"
. "$E2E_HERE/dialoglib.sh"
cycles=${PATHWICK_SOAK_CYCLES:-20}
dialog_cycles=${PATHWICK_SOAK_DIALOG_CYCLES:-3}
# The heap takes memory from the system in blocks and keeps what it has
# freed for the next use: growth is what exceeds one block.
private_slack_kib=${PATHWICK_SOAK_PRIVATE_SLACK_KIB:-64}
e2e_init soak pathwick_probe.exe

tree=$E2E_WORK/tree
mkdir -p "$tree/alpha/beta"
for i in 1 2 3 4 5 6; do touch "$tree/file$i.txt" "$tree/alpha/doc$i.pdf" "$tree/alpha/beta/pic$i.png"; done
store_root 0000 Browse "$(e2e_winpath "$tree")" 0 25
e2e_start_program

# The Linux process that runs the program: Wine does not count private
# bytes (GetProcessMemoryInfo answers 0), so its anonymous resident memory
# stands for them.
program_process() {
  local proc
  for proc in /proc/[0-9]*; do
    # Wine leaves the rest of the first argument's space filled with zeros.
    [ "$(tr -d '\0' <"$proc/cmdline" 2>/dev/null)" == "$E2E_APP_DIR/$E2E_PROGRAM" ] &&
      echo "${proc#/proc/}" && return 0
  done
  fail "no process runs $E2E_APP_DIR/$E2E_PROGRAM"
}
program_pid=$(program_process)

counts_logged() { e2e_log_text | grep -c 'probe resources' || true; }
more_counts_than() { [ "$(counts_logged)" -gt "$1" ]; }

# resources: "gdi=G user=U handles=H private_kib=P", fresh from the program.
resources() {
  local before
  before=$(counts_logged)
  e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 8 || fail "could not ask for the counts"
  e2e_wait_until 10 more_counts_than "$before" || fail "the program did not log its counts"
  echo "$(e2e_log_text | grep 'probe resources' | tail -n 1 | sed 's/.*probe resources //')" \
    "private_kib=$(awk '$1 == "RssAnon:" { print $2 }' "/proc/$program_pid/status")"
}

# count_of FIGURES NAME: one figure of a resources line.
count_of() {
  sed -n "s/.*\\b$2=\\([0-9]*\\).*/\\1/p" <<<"$1"
}

# soaked WHAT COUNT BODY...: COUNT runs of BODY between two counts, which
# are printed and compared.
soaked() {
  local what=$1 count=$2 start end n
  shift 2
  start=$(resources)
  for ((n = 1; n <= count; n++)); do "$@" "$n"; done
  end=$(resources)
  echo "soak $what cycles=$count start: $start end: $end"
  expect_eq "${start% private_kib=*}" "${end% private_kib=*}" \
    "GDI objects, USER objects and handles after $count cycles of $what"
  local grown=$(($(count_of "$end" private_kib) - $(count_of "$start" private_kib)))
  [ "$grown" -le "$private_slack_kib" ] ||
    fail "private memory grew by $grown KiB in $count cycles of $what"
}

# ---- The Folder Menu: entry points found once from screenshots --------------
e2e_tray_click
wait_menus 1 "the tray click"
read -r root_x root_y <<<"$(band_point "$(top_bands soak-root)" 1)"
xdotool mousemove "$root_x" "$root_y"
wait_menus 2 "hovering the root"
read -r alpha_x alpha_y <<<"$(band_point "$(top_bands soak-1)" 2)"
xdotool mousemove "$alpha_x" "$alpha_y"
wait_menus 3 "hovering alpha"
read -r beta_x beta_y <<<"$(band_point "$(top_bands soak-2)" 2)"
e2e_dismiss_menu

folder_cycle() {
  e2e_tray_click
  wait_menus 1 "folder cycle $1: the tray click"
  xdotool mousemove "$root_x" "$root_y"
  wait_menus 2 "folder cycle $1: the root's listing"
  xdotool mousemove "$alpha_x" "$alpha_y"
  wait_menus 3 "folder cycle $1: alpha"
  xdotool mousemove "$beta_x" "$beta_y"
  wait_menus 4 "folder cycle $1: beta"
  e2e_click 600 300
  wait_menus 0 "folder cycle $1: closing"
}

# ---- The dialogs, each opened by a click on its Configuration Menu entry ------
open_config_menu 3 soak-config
config_bands=$CONFIG_BANDS
e2e_dismiss_menu

# config_entry N: the Configuration Menu's Nth entry clicked.
config_entry() {
  e2e_tray_click 3
  wait_single_menu 10 "the Configuration Menu"
  click_entry "$config_bands" "$1"
}

# Each dialog opens where it opened before: its buttons are found once.
declare -A control_point
# press TITLE ID: a click in the middle of a control.
press() {
  local key="$1/$2" x y w h
  if [ -z "${control_point[$key]:-}" ]; then
    read -r x y w h <<<"$(e2e_driver rect '#32770' "$1" "$2" | tr -d '\r')"
    [ -n "$h" ] || fail "no control $2 in [$1]"
    control_point[$key]="$((x + w / 2)) $((y + h / 2))"
  fi
  e2e_click ${control_point[$key]}
}

# Closed as users close them: the edit dialog with Cancel, the options with
# Escape, the about box (which ignores Escape) with "Close Window", the add
# dialog with its close box, the edit-one dialog with Escape.
edit_cycle() {
  config_entry 4
  dlg_wait "$DLG_EDIT"
  press "$DLG_EDIT" $IDCANCEL
  dlg_wait_gone "$DLG_EDIT"
}

options_cycle() {
  config_entry 5
  dlg_wait "$DLG_OPTIONS"
  xdotool key Escape
  dlg_wait_gone "$DLG_OPTIONS"
}

about_cycle() {
  config_entry 2
  dlg_wait "$DLG_ABOUT"
  press "$DLG_ABOUT" $IDOK
  dlg_wait_gone "$DLG_ABOUT"
}

add_cycle() {
  press "$DLG_EDIT" $IDC_ADD_ITEM
  dlg_wait "$DLG_ADD"
  dlg_click_close_box "$DLG_ADD"
  dlg_wait_gone "$DLG_ADD"
}

edit_one_cycle() {
  press "$DLG_EDIT" $IDC_EDIT_ITEM
  dlg_wait "$DLG_EDIT_ONE"
  xdotool key Escape
  dlg_wait_gone "$DLG_EDIT_ONE"
}

# First uses (icon cache, menu windows, dialog classes) settle before the
# counts are taken.
for n in 1 2 3; do folder_cycle "warm-up $n"; done
soaked folder-menu "$cycles" folder_cycle
for cycle in edit_cycle options_cycle about_cycle; do "$cycle" warm-up; done
soaked edit-folder-menu "$dialog_cycles" edit_cycle
soaked options "$dialog_cycles" options_cycle
soaked about "$dialog_cycles" about_cycle

config_entry 4
dlg_wait "$DLG_EDIT"
dlg_click_row 0
add_cycle warm-up
edit_one_cycle warm-up
soaked add-item "$dialog_cycles" add_cycle
soaked edit-item "$dialog_cycles" edit_one_cycle
press "$DLG_EDIT" $IDCANCEL
dlg_wait_gone "$DLG_EDIT"

expect_eq "Browse|$(e2e_winpath "$tree")|0x0|0x19" "$(stored_root 0000)" "the stored root after the soak"
expect_eq "" "$(e2e_log_text | grep -i 'fail' | grep -v -e 'loadOptions() failed - (OPTIONS)' \
  -e 'loadItem() failed - (Name)' || true)" "failure lines after the soak"
