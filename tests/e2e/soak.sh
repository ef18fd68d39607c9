#!/usr/bin/env bash
# Open, browse three levels down and close the Folder Menu again and again
# by real input: the program's GDI objects, USER objects and handles end
# where they started, and the run log holds no failure. The probe build
# (the program with tests/tools/fault_probe.cpp linked in) writes its counts
# to the run log when asked. PATHWICK_SOAK_CYCLES cycles (20 unless told;
# scripts/soak.sh runs 500).
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/menulib.sh"
cycles=${PATHWICK_SOAK_CYCLES:-20}
e2e_init soak pathwick_probe.exe

tree=$E2E_WORK/tree
mkdir -p "$tree/alpha/beta"
for i in 1 2 3 4 5 6; do touch "$tree/file$i.txt" "$tree/alpha/doc$i.pdf" "$tree/alpha/beta/pic$i.png"; done
add_root 0000 Browse "$tree" 0 25
e2e_start_program

# resources: "gdi=G user=U handles=H", fresh from the program.
resources() {
  local before
  before=$(e2e_log_text | grep -c 'probe resources' || true)
  e2e_driver post-registered PathwickDummyWindow PathwickProbeFault 8 || fail "could not ask for the counts"
  for ((i = 0; i < 100; i++)); do
    [ "$(e2e_log_text | grep -c 'probe resources' || true)" -gt "$before" ] && break
    sleep 0.1
  done
  e2e_log_text | grep 'probe resources' | tail -n 1 | sed 's/.*probe resources //'
}

# The entry points, found once from screenshots.
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

cycle() {
  e2e_tray_click
  wait_menus 1 "cycle $1: the tray click"
  xdotool mousemove "$root_x" "$root_y"
  wait_menus 2 "cycle $1: the root's listing"
  xdotool mousemove "$alpha_x" "$alpha_y"
  wait_menus 3 "cycle $1: alpha"
  xdotool mousemove "$beta_x" "$beta_y"
  wait_menus 4 "cycle $1: beta"
  e2e_click 600 300
  wait_menus 0 "cycle $1: closing"
}

# First uses (icon cache, menu windows) settle before the counts are taken.
for n in 1 2 3; do cycle "warm-up $n"; done
start=$(resources)
for ((n = 1; n <= cycles; n++)); do cycle "$n"; done
end=$(resources)
echo "soak cycles=$cycles start: $start end: $end"
expect_eq "$start" "$end" "GDI objects, USER objects and handles after $cycles cycles"
expect_eq "" "$(e2e_log_text | grep -i 'fail' | grep -v -e 'loadOptions() failed - (OPTIONS)' \
  -e 'loadItem() failed - (Name)' || true)" "failure lines after $cycles cycles"
