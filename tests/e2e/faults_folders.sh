#!/usr/bin/env bash
# Folders that fight back, browsed by real mouse input, one story per run
# (faults_folders.sh STORY, each its own ctest entry):
#  paths: a root that does not exist, a drive letter with nothing behind it,
#    paths about and beyond 260 characters, 30 levels of nesting, a folder
#    deleted while its menu is open, a plain listing of 40,000 entries;
#  names: names in every script, the program in UTF-8, started from a
#    folder named in Cyrillic;
#  legacy-names: the same in the system's code page (1252), as Windows
#    before 10 version 1903 runs the program: the probe build;
#  slow: a folder that does not answer, beside a network drive.
# Each costs only itself: the program stays up, the run log says what
# failed, files still open afterwards, and every stored root is still
# stored.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/menulib.sh"
. "$E2E_HERE/dialoglib.sh"
story=${1:?usage: faults_folders.sh paths|names|legacy-names|slow}
case $story in
  names) e2e_init "faults_folders_$story" pathwick.exe "Программа" ;;
  legacy-names) e2e_init "faults_folders_$story" pathwick_probe.exe "Программа" ;;
  *) e2e_init "faults_folders_$story" ;;
esac
w=$E2E_WORK/folders
received=$E2E_WORK/received.txt
use_recorder "$received"

# What the recorder was given, one line per file.
opened_count() { grep -c . "$opened"; }
# received_is WORD...: the last files opened held these words, in any order.
received_is() { [ "$(tail -n $# "$received" 2>/dev/null | tr -d '\r' | sort | xargs)" == "$*" ]; }
wait_received() {
  e2e_wait_until 20 received_is "$@" || fail "the files opened held [$(tr -d '\r' <"$received" | xargs)], not [$*]"
}

# The menu found last by wait_menus, kept to work in it once a submenu is up.
top_of() { echo "$TOP_X $TOP_Y $TOP_W $TOP_H"; }
back_to() { read -r TOP_X TOP_Y TOP_W TOP_H <<<"$1"; }

fill_error() { # FOLDER ERROR: the failed listing of FOLDER was logged
  local folder=$1
  e2e_wait_log "str_path = ${folder//\\/\\\\}, "
  expect_contains "$(e2e_log_text | grep -A1 -F "str_path = $folder, " | tail -n 1)" \
    "CFolderMenu::findFoldersAndFiles() error: FindNextFile() failed with error: $2" "run log of $folder"
}

# The program in a folder named in Cyrillic: its log lies beside it, its
# help page opens, and the start at log-in that the options write starts it.
program_in_its_folder() {
  [ -s "$E2E_APP_DIR/run.log" ] || fail "no run.log beside the program in $E2E_APP_DIR"
  e2e_record_type html "$E2E_WORK/help.txt" "$E2E_WORK/help-page.txt"
  config_command 3 1
  e2e_wait_until 20 grep -q '<title>Pathwick Pro Help</title>' "$E2E_WORK/help-page.txt" ||
    fail "Program Help opened no help page: $(cat "$E2E_WORK/help.txt" 2>/dev/null)"
  config_command 3 5 "$DLG_OPTIONS"
  dlg_click "$DLG_OPTIONS" $IDC_RUN_AT_LOGIN
  dlg_close "$DLG_OPTIONS" $IDOK
  local autostart
  autostart=$(e2e_driver reg 'Software\Microsoft\Windows\CurrentVersion\Run' 'Quillmere Pathwick' | tr -d '\r')
  [ -n "$autostart" ] || fail "no start at log-in was stored"
  e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code before the start at log-in"
  autostart=${autostart#\"}
  e2e_launch_program "${autostart%\"}"
  e2e_driver wait-window PathwickDummyWindow - 30000 >/dev/null || fail "the start at log-in [$autostart] started nothing"
  e2e_pass_startup_dialogs || fail "the start at log-in showed no start-up notice"
  e2e_dismiss_menu
  e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code after the start at log-in"
}

story_paths() {
  mkdir -p "$w/vanish/doomed" "$w/big"
  # Made here: Wine takes minutes to create this many files one by one.
  (cd "$w/big" && seq -f 'f%05g.dat' 0 39999 | xargs touch)
  touch "$w/vanish/keeper.pwt" "$w/vanish/doomed/inside.pwt"
  # Paths of 255 and 259 characters (the most MAX_PATH holds), and more.
  winlong=$(e2e_winpath "$w/long")
  a=$(printf 'a%.0s' $(seq $((255 - ${#winlong} - 10))))
  mkdir -p "$w/long/$a/beyond-max-path"
  touch "$w/long/$a/near.pwt" "$w/long/$a/near-259.pwt" "$w/long/$a/beyond-max-path/far.pwt"
  # The 30 levels under a short path, so that the file at the bottom is in
  # reach of ShellExecute wherever the checkout lies.
  deep=$WINEPREFIX/drive_c/deep windeep='C:\deep'
  for ((i = 1; i <= 30; i++)); do
    deep+=/$(printf 'd%02d' $i)
    windeep+=\\$(printf 'd%02d' $i)
  done
  mkdir -p "$deep"
  touch "$deep/bottom.pwt"

  # No drive Q: in this prefix.
  rm -f "$WINEPREFIX/dosdevices/q:" "$WINEPREFIX/dosdevices/q::"
  store_root 0000 Missing "$(e2e_winpath "$w/not-there")" 0 25
  store_root 0001 NoDrive 'Q:\' 0 25
  store_root 0002 Long "$(e2e_winpath "$w/long")" 0 25
  store_root 0003 Deep 'C:\deep' 0 25
  store_root 0004 Vanish "$(e2e_winpath "$w/vanish")" 0 25
  store_root 0005 Big "$(e2e_winpath "$w/big")" 0 25
  roots_before=$(for i in 0 1 2 3 4 5; do stored_root 000$i; done)
  ROOTS=TTTTTT
  e2e_start_program
  started=$(date +%s)

  # --- a root that does not exist, and a drive with nothing mapped ------------
  # Each opens as "Open Folder" and a grayed "[Empty]", which is no dark text.
  open_root 1 missing $ROOTS
  expect_eq T "$(layout_of "$(top_bands missing-1)")" "entries of a missing root, see missing-1.png"
  fill_error "$(e2e_winpath "$w/not-there")\\" 3
  e2e_dismiss_menu
  open_root 2 nodrive $ROOTS
  fill_error 'Q:\' 3
  expect_eq T "$(layout_of "$(top_bands nodrive-1)")" "entries of an unmapped drive, see nodrive-1.png"
  expect_eq 0 "$(e2e_driver count '#32770' - | tr -d '\r')" "message boxes for the unmapped drive"
  e2e_dismiss_menu

  # --- paths of 255 and 259 characters and beyond -----------------------------
  # The folder past MAX_PATH opens empty and the log says why; the file of
  # 255 characters opens. Wine's ShellExecute stops short of MAX_PATH: the
  # 259-character one fails as the log says, and nothing else opens.
  # The long folder's name is drawn cut in the middle: its menu is at most a
  # third of the work area (1024 pixels) and the frame wide, and lies beside
  # the roots, overlapping them no more than a cascade does.
  open_root 3 long $ROOTS
  roots_x=$(sed -n 2p <<<"$E2E_MENUS" | cut -d' ' -f1)
  bands=$(top_bands long-1)
  ((TOP_W <= 1024 / 3 + 24 && TOP_X + TOP_W <= roots_x + 4)) ||
    fail "the menu of the long name is at $(top_of), the roots at x $roots_x; see long-1.png"
  hover_band "$bands" 2
  wait_menus 3 "hovering the long folder name"
  bands=$(top_bands long-2)
  # "Open Folder", beyond-max-path, near-259.pwt, near.pwt.
  expect_eq TTTT "$(layout_of "$bands")" "entries of the long folder, see long-2.png"
  long2=$(top_of)
  hover_band "$bands" 2
  wait_menus 4 "hovering beyond-max-path"
  fill_error "$winlong\\$a\\beyond-max-path\\" 206
  expect_eq T "$(layout_of "$(top_bands long-beyond)")" "entries past MAX_PATH, see long-beyond.png"
  back_to "$long2"
  click_band "$bands" 4
  wait_opened "$winlong\\$a\\near.pwt"
  expect_eq 255 "$(tail -n 1 "$opened" | tr -d '\r"' | wc -L)" "length of the path opened"
  open_root 3 long3 $ROOTS
  hover_band "$(top_bands long-3)" 2
  wait_menus 3 "hovering the long folder name again"
  click_band "$bands" 3
  e2e_wait_log "Attempted to open: .*\\\\near-259.pwt"
  expect_contains "$(e2e_log_text | tail -n 2 | head -n 1)" "(OPEN) ShellExecute() failed error: 2" \
    "run log of the 259-character path"
  expect_stays 1 "files opened after the 259-character path" opened_count

  # --- 30 levels deep -----------------------------------------------------------
  # Every level is "Open Folder" and the next one, at the same height: the
  # mouse goes down all 30 and opens the file at the bottom.
  open_root 4 deep $ROOTS
  bands=$(top_bands deep-1)
  expect_eq TT "$(layout_of "$bands")" "entries of the Deep root, see deep-1.png"
  for ((level = 1; level <= 30; level++)); do
    hover_band "$bands" 2
    wait_menus $((level + 2)) "hovering level $level"
  done
  expect_eq TT "$(layout_of "$(top_bands deep-30)")" "entries of level 30, see deep-30.png"
  click_band "$bands" 2
  wait_opened "$windeep\\bottom.pwt"
  wait_menus 0 "the click at the bottom"
  expect_eq 31 "$(e2e_log_text | grep -c 'str_path = .*\\deep\\.*d[0-9][0-9]\\, \|str_path = .*\\deep\\, ')" \
    "listings filled on the way down"

  # --- a folder deleted while its menu is open ---------------------------------
  open_root 5 vanish $ROOTS
  bands=$(top_bands vanish-1)
  expect_eq TTT "$(layout_of "$bands")" "entries of Vanish, see vanish-1.png"
  vanish1=$(top_of)
  hover_band "$bands" 2
  wait_menus 3 "hovering doomed"
  rm -r "$w/vanish/doomed"
  # Away and back: the folder's menu opens again, on a folder that is gone.
  back_to "$vanish1"
  hover_band "$bands" 3
  wait_menus 2 "hovering keeper.pwt"
  hover_band "$bands" 2
  wait_menus 3 "hovering doomed again"
  fill_error "$(e2e_winpath "$w/vanish/doomed")\\" 3
  expect_eq T "$(layout_of "$(top_bands vanish-2)")" "entries of the deleted folder, see vanish-2.png"
  back_to "$vanish1"
  click_band "$bands" 3
  wait_opened "$(e2e_winpath "$w/vanish/keeper.pwt")"

  # --- a plain listing of 40,000 entries -----------------------------------------
  # Positions stop at 0x7FFF: "Open Folder" and 32,767 files; the rest are
  # named in the log. Opened once: the fill alone takes seconds under Wine,
  # minutes under 64-bit Wine on a busy machine.
  e2e_tray_click
  wait_menus 1 "the tray click"
  hover_band "$ROOT_BANDS" 6
  e2e_wait_log "CFolderMenu::addMenuFiles() alert: the menu is full, 7233 files left out" 200
  wait_menus 2 "the listing of 40,000 entries"
  e2e_screenshot big >/dev/null
  e2e_dismiss_menu

  # --- afterwards --------------------------------------------------------------
  open_root 5 after $ROOTS
  click_band "$(top_bands after-1)" 2
  wait_opened "$(e2e_winpath "$w/vanish/keeper.pwt")"
  [ ! -s "$E2E_WORK/exitcode" ] || fail "the program ended"
  expect_eq 0 "$(e2e_driver count '#32770' - | tr -d '\r')" "message boxes left open"
  expect_eq "$roots_before" "$(for i in 0 1 2 3 4 5; do stored_root 000$i; done)" "stored roots"
  # On a busy machine the start-up's icon warm-up may give up waiting for the
  # big listing and say so; nothing else may fail.
  expect_eq "" "$(e2e_log_text | grep -i 'fail\|alert\|caught' | grep -v -e 'loadOptions() failed - (OPTIONS)' \
    -e 'loadItem() failed - (Name)' -e 'FindNextFile() failed with error: 3$' \
    -e 'FindNextFile() failed with error: 206$' -e '(OPEN) ShellExecute() failed error: 2$' \
    -e '7233 files left out' -e 'big\\ did not answer within 1000 ms; its listing goes on$' || true)" \
    "other failures in the log"
  echo "note: the walk took $(($(date +%s) - started)) s"
  e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code"
}

story_legacy_names() {
  mkdir -p "$w/names"
  # Accented names of code page 1252, and a name "??" would match as a
  # wildcard. Then names it best-fits (Ωmega as the Omega beside it) or turns
  # to "?", each holding its own word: the path the recorder is given may be
  # a short name.
  touch "$w/names/café.pwt" "$w/names/Ünïcödé.pwt" "$w/names/ab.pwt"
  mkdir -p "$w/names/Привет"
  for f in Ωmega:greek Omega:latin 漢字:kanji Привет/inside:cyrillic; do
    printf '%s\r\n' "${f#*:}" >"$w/names/${f%:*}.pwt"
  done
  store_root 0000 Names "$(e2e_winpath "$w/names")" 0 25
  ROOTS=T
  e2e_start_program
  # --- names in and outside code page 1252 -----------------------------------
  # As the user sees them (names-1.png): the folder "??????", Ünïcödé,
  # "??.pwt" (the CJK name as the ANSI API gives it), ab, café, Omega twice;
  # bytes above 127 sort first. Names of the code page open by their own
  # spelling; the others, each the very file it stands for, by their short
  # names.
  names=$(e2e_winpath "$w/names")
  open_root 1 names $ROOTS
  bands=$(top_bands names-1)
  expect_eq TTTTTTTT "$(layout_of "$bands")" "entries of Names, see names-1.png"
  click_band "$bands" 6
  wait_opened "$names\\café.pwt"
  wait_menus 0 "the click on café.pwt"
  open_root 1 names2 $ROOTS
  click_band "$bands" 3
  wait_opened "$names\\Ünïcödé.pwt"
  open_root 1 names3 $ROOTS
  click_band "$bands" 4
  wait_received kanji
  # Which Omega is which cannot be seen: each opens once.
  for band in 7 8; do
    open_root 1 names-omega$band $ROOTS
    click_band "$bands" $band
  done
  wait_received greek latin
  open_root 1 names-folder $ROOTS
  hover_band "$bands" 2
  wait_menus 3 "hovering the Cyrillic folder"
  folder_bands=$(top_bands names-folder-2)
  expect_eq TT "$(layout_of "$folder_bands")" "entries of the Cyrillic folder, see names-folder-2.png"
  click_band "$folder_bands" 2
  wait_received cyrillic
  program_in_its_folder
}

# Names in every script, in UTF-8: each shows in its own script and opens
# its very file by its own spelling (the recorder notes what it was given):
# Ωmega beside Omega and Łodz beside Lodz, CJK, an emoji (a surrogate pair
# in UTF-16), a Cyrillic folder, and a root named in Greek over some 200
# Cyrillic characters of folders (under C:, short whatever the checkout's
# path). UTF-8 bytes above 127 sort before ASCII, as accented ones did.
names_in_every_script() {
  local names=$w/names f
  mkdir -p "$names/Москва docs"
  for f in Ωmega:greek Omega:latin Łodz:polish Lodz:lodz "東京 tokyo:tokyo" "smile 😀:smile" \
    café:cafe "Москва docs/inside:moscow"; do
    printf '%s\r\n' "${f#*:}" >"$names/${f%:*}.pwt"
  done
  local deep=$WINEPREFIX/drive_c/Путь windeep='C:\Путь' part
  part=$(printf 'Папка%.0s' {1..13})
  for f in 1 2 3; do
    deep+=/$part$f
    windeep+=\\$part$f
  done
  mkdir -p "$deep"
  printf 'deep\r\n' >"$deep/глубоко.pwt"
  store_root 0000 Names "$(e2e_winpath "$names")" 0 25
  store_root 0001 Αρχείο "$windeep" 0 25
  ROOTS=TT
  e2e_start_program

  local winnames bands entry
  winnames=$(e2e_winpath "$names")
  open_root 1 every-script $ROOTS
  bands=$(top_bands every-script-1)
  # Open Folder, the folder, Łodz, Ωmega, 東京, café, Lodz, Omega, smile.
  expect_eq TTTTTTTTT "$(layout_of "$bands")" "entries of Names, see every-script-1.png"
  for entry in "3|Łodz.pwt|polish" "4|Ωmega.pwt|greek" "5|東京 tokyo.pwt|tokyo" "6|café.pwt|cafe" \
    "7|Lodz.pwt|lodz" "8|Omega.pwt|latin" "9|smile 😀.pwt|smile"; do
    IFS='|' read -r band name word <<<"$entry"
    [ "$band" == 3 ] || open_root 1 "every-script-$band" $ROOTS
    click_band "$bands" "$band"
    wait_opened "$winnames\\$name"
    wait_received "$word"
  done
  open_root 1 every-script-folder $ROOTS
  hover_band "$bands" 2
  wait_menus 3 "hovering the Cyrillic folder"
  click_band "$(top_bands every-script-folder-2)" 2
  wait_opened "$winnames\\Москва docs\\inside.pwt"
  open_root 2 greek $ROOTS
  click_band "$(top_bands greek-1)" 2
  wait_opened "$windeep\\глубоко.pwt"
  wait_received deep

  # The edit dialog lists the Greek root; one named in Greek over a
  # Cyrillic path, added there by typing, is stored as typed and read back
  # after a restart.
  config_command 3 4 "$DLG_EDIT"
  expect_eq "Names|Αρχείο" "$(dlg_row_names)" "the roots in the edit dialog"
  dlg_click "$DLG_EDIT" $IDC_ADD_ITEM
  dlg_wait "$DLG_ADD"
  # xdotool maps a key for each character outside the keyboard's layout,
  # which a quick next key can overtake.
  DLG_TYPE_DELAY=150 dlg_type_into "$DLG_ADD" $IDC_NAME_EDIT "Δοκιμή"
  DLG_TYPE_DELAY=150 dlg_type_into "$DLG_ADD" $IDC_PATH_EDIT 'C:\Проверка'
  dlg_close "$DLG_ADD" $IDOK
  dlg_close "$DLG_EDIT" $IDOK
  local added='Software\Quillmere Software\Pathwick\Menu\0000'
  expect_eq "Δοκιμή|C:\Проверка\\" "$(e2e_driver reg "$added" Name | tr -d '\r')|$(e2e_driver reg "$added" Path | tr -d '\r')" \
    "the added root in the registry"
  e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code before the restart"
  e2e_start_program
  config_command 3 4 "$DLG_EDIT"
  expect_eq "Δοκιμή|Names|Αρχείο" "$(dlg_row_names)" "the roots in the edit dialog after a restart"
  dlg_close "$DLG_EDIT" $IDCANCEL
  expect_eq "Δοκιμή" "$(e2e_driver reg "$added" Name | tr -d '\r')" "the added root's name after a restart"
}

story_names() {
  names_in_every_script
  program_in_its_folder
}

story_slow() {
  # --- a folder that does not answer -------------------------------------------
  # A root on a folder whose every call hangs for 15 s while it sleeps, as a
  # share whose server is off does, beside a root on a network drive. The
  # start-up's warm-up reads neither the network drive nor, for long, the
  # sleeping folder; the Folder Menu and the sleeping root's submenu come
  # within a few seconds, the submenu saying the folder does not answer,
  # and everything else keeps answering. Once it wakes, it lists again.
  s=$E2E_WORK/slow
  mkdir -p "$s/src/net" "$s/src/sleepy"
  touch "$s/src/net/n1.pwt" "$s/src/sleepy/s1.pwt" "$s/src/sleepy/s2.pwt"
  echo /sleepy >"$s/asleep"
  e2e_mount_slowfs "$s/src" "$s/mnt" "$s/asleep" "$s/calls.txt"
  ln -sfn "$s/mnt/net" "$WINEPREFIX/dosdevices/n:"
  e2e_wine reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f >/dev/null 2>&1
  # The drive types are read as Wine starts.
  "$PATHWICK_WINESERVER" -k
  e2e_driver wait-desktop 30000 >/dev/null || fail "the desktop did not come back"
  store_root 0000 Net 'N:\' 0 25
  store_root 0001 Sleepy "$(e2e_winpath "$s/mnt/sleepy")" 0 25
  sleepy=$(e2e_winpath "$s/mnt/sleepy")\\
  e2e_start_program
  # The warm-up takes the roots in order: once it reaches the sleeping one,
  # it has passed the network drive, which must not have been listed.
  e2e_wait_until 20 grep -q ' /sleepy$' "$s/calls.txt" || fail "the warm-up never reached the sleeping root"
  expect_eq "" "$(grep '^readdir /net' "$s/calls.txt" || true)" "listings of the network drive at start-up"

  # open_sleepy NAME: the Sleepy root's submenu, within 4 s of the pointer
  # reaching it, though the folder takes 15 s to answer.
  open_sleepy() {
    e2e_tray_click
    wait_menus 1 "the tray click ($1)" 4
    ROOT_BANDS=$(top_bands "$1-root")
    hover_band "$ROOT_BANDS" 2
    wait_menus 2 "hovering the sleeping root ($1)" 4
  }
  open_sleepy sleepy
  expect_eq T "$(layout_of "$(top_bands sleepy-1)")" "entries of the sleeping root, see sleepy-1.png"
  e2e_wait_log "CFolderMenu::findFoldersAndFiles() error: ${sleepy//\\/\\\\} is not answering"
  xdotool key Escape Escape
  wait_menus 0 "Escape in the menu of the sleeping root" 4
  open_config_menu 3 sleepy-config
  e2e_dismiss_menu
  # Later, while its listing still hangs, the same at once.
  open_sleepy sleepy-again
  expect_eq T "$(layout_of "$(top_bands sleepy-again-1)")" "entries of the sleeping root, see sleepy-again-1.png"
  e2e_dismiss_menu
  expect_contains "$(e2e_log_text)" "SFolderLister alert: $sleepy did not answer within 1000 ms; its listing goes on" "the wait that ran out"

  # Awake, it lists its two files, which open.
  rm "$s/asleep"
  sleepy_lists() {
    open_sleepy sleepy-awake
    SLEEPY_BANDS=$(top_bands sleepy-awake-1)
    [ "$(layout_of "$SLEEPY_BANDS")" == TTT ] && return 0
    e2e_dismiss_menu
    return 1
  }
  e2e_wait_until 20 sleepy_lists || fail "the awake folder was not listed, see sleepy-awake-1.png"
  click_band "$SLEEPY_BANDS" 2
  wait_opened "$sleepy"s1.pwt
  e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
  expect_eq 0 "$(e2e_wait_exit 30)" "exit code after the sleeping folder"
}

"story_${story//-/_}"
