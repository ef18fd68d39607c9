# Shared by the Folder Menu tests: the open menus found and driven from
# screenshots, and files opened through a recorder. Sourced after lib.sh
# and traylib.sh.

# wait_menus N WHAT [SECS]: waits for exactly N open menus and sets TOP_X
# TOP_Y TOP_W TOP_H to the topmost one (the one opened last).
wait_menus() {
  e2e_wait_menus "$1" "$1" "${3:-20}" || fail "$2: expected $1 open menus, got: $E2E_MENUS"
  read -r TOP_X TOP_Y TOP_W TOP_H <<<"$(head -n 1 <<<"$E2E_MENUS")"
}

# top_bands NAME [LEFT]: the text bands of the topmost menu, one entry
# each, from a screenshot; LEFT pixels at the left are left out (the icons
# of owner-drawn entries, 22 unless told).
top_bands() {
  local shot left=${2:-22}
  shot=$(e2e_screenshot "$1")
  convert "$shot" -crop "$((TOP_W - left))x${TOP_H}+$((TOP_X + left))+${TOP_Y}" +repage -depth 8 txt:- |
    awk -f "$E2E_HERE/menubands.awk" |
    # A mnemonic's underline is a band of its own, just below its text.
    awk '$1 == "T" && kind == "T" && $2 - bottom <= 3 { bottom = $3; next }
         { if (kind != "") print kind, top, bottom; kind = $1; top = $2; bottom = $3 }
         END { if (kind != "") print kind, top, bottom }'
}

# The middle of the Nth band of the topmost menu, as "x y".
band_point() { # BANDS N
  local top bottom
  read -r _ top bottom <<<"$(sed -n "${2}p" <<<"$1")"
  [ -n "$bottom" ] || fail "no entry $2 in the menu: $1"
  echo "$((TOP_X + TOP_W / 2)) $((TOP_Y + (top + bottom) / 2))"
}

hover_band() { # BANDS N
  local x y
  read -r x y <<<"$(band_point "$1" "$2")"
  xdotool mousemove "$x" "$y"
}

click_band() { # BANDS N
  local x y
  read -r x y <<<"$(band_point "$1" "$2")"
  e2e_click "$x" "$y"
}


# Files of type .pwt and folders open through a command that notes what it
# was given, in $opened, one line per open; with CONTENTS, what each .pwt
# file held goes there.
use_recorder() { # [CONTENTS]
  opened=$E2E_WORK/opened.txt
  e2e_record_type pwt "$opened" "${1:-}"
  e2e_wine reg delete 'HKCR\Folder\shell\open\ddeexec' /f >/dev/null 2>&1 || true
  e2e_record_verb 'HKCR\Folder\shell\open\command' "$opened"
}

last_opened_is() {
  [ "$(tail -n 1 "$opened" 2>/dev/null | tr -d '\r"')" == "$1" ]
}

# wait_opened TEXT: the recorder was given TEXT (its last line).
wait_opened() {
  e2e_wait_until 20 last_opened_is "$1" ||
    fail "the associated command was not given [$1]; it got: $(tr -d '\r' <"$opened" 2>/dev/null)"
}

# open_root N NAME [LAYOUT]: tray click, then the root entry N, among roots
# laid out as LAYOUT ("TT" unless told); leaves the root's listing on top.
open_root() {
  e2e_tray_click
  wait_menus 1 "the tray click"
  ROOT_BANDS=$(top_bands "$2-root")
  expect_eq "${3:-TT}" "$(layout_of "$ROOT_BANDS")" "entries of the root menu, see $2-root.png"
  hover_band "$ROOT_BANDS" "$1"
  wait_menus 2 "hovering root entry $1"
}
