# End-to-end harness, sourced by each test script: a private X display, a
# private Wine prefix and a copy of the program, torn down when the script
# ends. Only processes started here are stopped.
set -euo pipefail
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$E2E_HERE/../winecommon.sh"

: "${PATHWICK_BUILD_DIR:?set by ctest}"
: "${PATHWICK_TEST_ENV_DIR:?set by ctest}"

E2E_NAME=
E2E_WORK=
E2E_APP_DIR=
E2E_PID=
E2E_XVFB_PID=
E2E_PROGRAM=pathwick.exe

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_eq() {
  [ "$1" == "$2" ] || fail "$3: expected [${1:0:300}], got [${2:0:300}]"
}

expect_contains() {
  case "$1" in
    *"$2"*) ;;
    *) fail "$3: [$2] not found in: ${1:0:600}" ;;
  esac
}

expect_not_contains() {
  case "$1" in
    *"$2"*) fail "$3: [$2] unexpectedly found in: ${1:0:600}" ;;
    *) ;;
  esac
}

# Commands run first when the test ends, such as unmounting what it mounted.
E2E_CLEANUP=()

e2e_teardown() {
  local rc=$?
  set +e
  local cleanup
  for cleanup in "${E2E_CLEANUP[@]}"; do eval "$cleanup"; done
  WINEPREFIX=$E2E_WORK/prefix "$PATHWICK_WINESERVER" -k >/dev/null 2>&1
  [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null
  # The prefix is big and rebuilt every run; keep the log and screenshots.
  rm -rf "$E2E_WORK/prefix"
  if [ $rc -ne 0 ]; then
    echo "--- run.log of $E2E_NAME ---" >&2
    cat "$E2E_APP_DIR/run.log" >&2 2>/dev/null
    echo "--- artifacts in $E2E_WORK ---" >&2
  fi
  exit $rc
}

# e2e_init NAME [PROGRAM [FOLDER]]: PROGRAM is the exe of the build dir to
# test (pathwick.exe unless a test needs a variant), copied into the work
# folder's FOLDER (app unless told: a user's folder may be named in any
# script).
e2e_init() {
  E2E_NAME=$1
  E2E_PROGRAM=${2:-pathwick.exe}
  E2E_WORK=$PATHWICK_BUILD_DIR/e2e/$E2E_NAME
  E2E_APP_DIR=$E2E_WORK/${3:-app}
  rm -rf "$E2E_WORK"
  mkdir -p "$E2E_APP_DIR" "$E2E_WORK/screenshots"
  trap e2e_teardown EXIT
  cp "$PATHWICK_BUILD_DIR/$E2E_PROGRAM" "$E2E_APP_DIR/"
  # What ships is a 32-bit program: PE machine type 0x14c (Intel 386); where
  # the kernel runs no 32-bit program, the 64-bit build (0x8664) stands in.
  local pe machine
  pe=$(od -An -t u4 -j 60 -N 4 "$E2E_APP_DIR/$E2E_PROGRAM" | tr -d ' ')
  machine=$(od -An -t x2 -j $((pe + 4)) -N 2 "$E2E_APP_DIR/$E2E_PROGRAM" | tr -d ' ')
  local expected=014c
  [ "$PATHWICK_ARCH" == x86_64 ] && expected=8664
  [ "$machine" == "$expected" ] || fail "$E2E_PROGRAM is not a $PATHWICK_ARCH program (machine $machine)"
  [ -d "$PATHWICK_BUILD_DIR/docs" ] && cp -r "$PATHWICK_BUILD_DIR/docs" "$E2E_APP_DIR/"
  wine_clone_prefix "$PATHWICK_TEST_ENV_DIR/template" "$E2E_WORK/prefix"
  export WINEPREFIX=$E2E_WORK/prefix
  local display
  read -r display E2E_XVFB_PID < <(start_private_xvfb)
  [ -n "$display" ] || fail "Xvfb did not start"
  export DISPLAY=:$display
  # The desktop and its tray come up with the first program of the prefix.
  "$PATHWICK_WINE" "$PATHWICK_BUILD_DIR/wdriver.exe" wait-desktop 30000 >/dev/null ||
    fail "the virtual desktop's taskbar did not appear"
}

e2e_wine() {
  "$PATHWICK_WINE" "$@"
}

e2e_driver() {
  "$PATHWICK_WINE" "$PATHWICK_BUILD_DIR/wdriver.exe" "$@"
}

# The Windows path of a file under the test's work dir.
e2e_winpath() {
  echo "Z:${1//\//\\}"
}

# e2e_launch_program [EXE [EXITFILE]]: starts the program (or EXE, a Windows
# path; "" for the program) without waiting for anything. Its exit code
# lands in a file (EXITFILE, or the one e2e_wait_exit reads), so that any
# subshell can read it.
e2e_launch_program() {
  local exitcode=${2:-$E2E_WORK/exitcode}
  rm -f "$exitcode"
  (
    cd "$E2E_APP_DIR"
    rc=0
    "$PATHWICK_WINE" "${1:-$E2E_APP_DIR/$E2E_PROGRAM}" >>"$E2E_WORK/stdout.txt" 2>>"$E2E_WORK/stderr.txt" || rc=$?
    echo "$rc" >"$exitcode"
  ) &
  E2E_PID=$!
}

# e2e_mount_slowfs SOURCE MOUNT CONTROL LOG: SOURCE shown at MOUNT by a
# file system that holds every call under the path CONTROL names for as
# long as CONTROL holds it (tests/tools/slowfs.py), as a sleeping share
# does; each call noted in LOG. Unmounted when the test ends, before Wine.
e2e_mount_slowfs() {
  mkdir -p "$2"
  # Debian's python3, which has the fuse module, whatever python3 PATH finds.
  /usr/bin/python3 "$E2E_HERE/../tools/slowfs.py" "$1" "$2" "$3" "$4" >"$E2E_WORK/slowfs.txt" 2>&1 &
  local pid=$!
  E2E_CLEANUP=("fusermount3 -u -z '$2'; kill $pid 2>/dev/null" "${E2E_CLEANUP[@]}")
  e2e_wait_until 10 mountpoint -q "$2" || fail "the slow file system did not mount: $(cat "$E2E_WORK/slowfs.txt")"
}

# ---- Waiting -----------------------------------------------------------------
# The program answers input in its own time: a test waits for what the user
# would see, as long as it takes and no longer.

# e2e_wait_until SECS COMMAND...: runs COMMAND until it succeeds; false when
# SECS seconds (decimals allowed) have passed without.
e2e_wait_until() {
  local deadline=$((${EPOCHREALTIME/[.,]/} + $(printf '%.0f' "$1e6")))
  shift
  until "$@"; do
    ((${EPOCHREALTIME/[.,]/} < deadline)) || return 1
    sleep 0.1
  done
}

e2e_not() { ! "$@"; }

# e2e_holds SECS COMMAND...: COMMAND keeps succeeding for SECS seconds.
# Something that must not happen leaves nothing to wait for: it is watched
# for a while instead.
e2e_holds() { ! e2e_wait_until "$1" e2e_not "${@:2}"; }

# e2e_prints EXPECTED COMMAND...: COMMAND prints EXPECTED; what it printed
# stays in E2E_PRINTED.
e2e_prints() {
  local expected=$1
  shift
  E2E_PRINTED=$("$@")
  [ "$E2E_PRINTED" == "$expected" ]
}

# expect_soon EXPECTED WHAT COMMAND...: what COMMAND prints becomes EXPECTED
# within 10 s.
expect_soon() {
  local expected=$1 what=$2
  shift 2
  e2e_wait_until 10 e2e_prints "$expected" "$@" || expect_eq "$expected" "$E2E_PRINTED" "$what"
}

# expect_stays EXPECTED WHAT COMMAND...: what COMMAND prints is EXPECTED and
# stays so for a second. For input that must change nothing: no change
# comes to be waited for.
expect_stays() {
  local expected=$1 what=$2
  shift 2
  e2e_holds 1 e2e_prints "$expected" "$@" || expect_eq "$expected" "$E2E_PRINTED" "$what"
}

# ---- Menus, boxes, the program's life ------------------------------------------

# The visible menus as "x y w h" lines.
open_menus() {
  e2e_driver menus | tr -d '\r'
}

# True while a menu is visible; the menus stay in E2E_MENUS.
e2e_menu_open() {
  E2E_MENUS=$(open_menus)
  [ -n "$E2E_MENUS" ]
}

# e2e_wait_menus LEAST MOST SECS: waits until LEAST to MOST menus are open;
# they (or the last ones seen) stay in E2E_MENUS.
e2e_wait_menus() {
  E2E_MENUS=$(e2e_driver wait-menus "$1" "$2" "$(($3 * 1000))" | tr -d '\r')
}

# Waits until a menu window is visible and prints its "x y w h" lines.
e2e_wait_menu() {
  e2e_wait_menus 1 99 "${1:-10}" && echo "$E2E_MENUS"
}

# The "Error" box (the shell context menu's boxes) says TEXT; what it says
# stays in E2E_PRINTED.
e2e_error_box_says() {
  E2E_PRINTED=$(e2e_driver texts '#32770' Error | tr -d '\r' | awk -F'\t' '$1 == 65535 { print $3 }') || true
  [ "$E2E_PRINTED" == "$1" ]
}

# e2e_answer_error_box TEXT: waits for the "Error" box saying TEXT and
# clicks its OK button: the box must take the mouse, whatever menu was up.
e2e_answer_error_box() {
  e2e_wait_until 10 e2e_error_box_says "$1" || expect_eq "$1" "$E2E_PRINTED" "message box"
  local x y w h
  read -r x y w h <<<"$(e2e_driver rect '#32770' Error 1 | tr -d '\r')"
  [ -n "$h" ] || fail "the box [$1] has no OK button"
  e2e_click $((x + w / 2)) $((y + h / 2))
  e2e_wait_until 5 e2e_not e2e_error_box_says "$1" || fail "a click on OK did not close the box [$1]"
}

# Clicks the bare desktop, which closes a tracked menu. On a busy machine a
# click as the menu comes up may reach the desktop first and leave the menu
# open (seen once in CI with the start-up notice): the user clicks again.
e2e_dismiss_menu() {
  local try
  for try in 1 2 3; do
    e2e_click 600 300
    e2e_wait_menus 0 0 5 && return 0
  done
  fail "a menu stayed open after three clicks on the desktop"
}

# With nothing stored the splash (2 s) and the introduction come before the
# start-up notice: the introduction is confirmed with OK, its box clear.
e2e_notice_after_dialogs() {
  e2e_menu_open && return 0
  e2e_driver press '#32770' 'Pathwick Pro Introduction' 1 >/dev/null 2>&1
  return 1
}

# True once the start-up notice is up, its place in E2E_MENUS.
e2e_pass_startup_dialogs() {
  e2e_wait_until 30 e2e_notice_after_dialogs
}

# e2e_start_program [EXE]: starts the program, waits for its window and
# dismisses the start-up notice.
e2e_start_program() {
  e2e_launch_program "$@"
  e2e_driver wait-window PathwickDummyWindow - 30000 >/dev/null || fail "the program's window did not appear"
  e2e_pass_startup_dialogs || fail "the start-up notice did not appear"
  e2e_dismiss_menu
}

# Prints the program's exit code once it has ended.
e2e_wait_exit() {
  local secs=${1:-30}
  e2e_wait_until "$secs" test -s "$E2E_WORK/exitcode" || fail "the program did not end within $secs s"
  cat "$E2E_WORK/exitcode"
}

# ---- Input, screen and log -----------------------------------------------------

# The program's icon, the only one in the tray, at the right end of the
# taskbar.
E2E_TRAY_X=1013
E2E_TRAY_Y=758

e2e_click() {
  xdotool mousemove "$1" "$2" click "${3:-1}"
}

# e2e_tray_click [BUTTON [xdotool click options...]]
e2e_tray_click() {
  local button=${1:-1}
  shift $(($# > 0))
  xdotool mousemove "$E2E_TRAY_X" "$E2E_TRAY_Y" click "$@" "$button"
  # Off the icon, so its tooltip does not cover the menu.
  xdotool mousemove 700 500
}

e2e_screenshot() {
  import -window root "$E2E_WORK/screenshots/$1.png"
  echo "$E2E_WORK/screenshots/$1.png"
}

e2e_log_text() {
  tr -d '\r' <"$E2E_APP_DIR/run.log"
}

e2e_wait_log() {
  local pattern=$1 secs=${2:-10}
  e2e_wait_until "$secs" grep -qs -- "$pattern" "$E2E_APP_DIR/run.log" || fail "run.log never showed [$pattern]"
}

# e2e_record_verb KEY FILE [CONTENTS]: the shell command KEY (a verb's
# "command" key) notes what it is given in FILE, a line each time (the
# argument as it came, in UTF-8), and what the file it was given holds in
# CONTENTS. The command is the recorder (tests/tools/recorder.cpp) in the
# prefix's C:\rec, writing beside itself into links to FILE and CONTENTS
# named as they are: Wine's ShellExecute gives up on a long command with
# SE_ERR_NOASSOC, so its length must not grow with the checkout's path.
e2e_record_verb() {
  local rec=$WINEPREFIX/drive_c/rec command='C:\rec\rec.exe' file
  [ -e "$rec/rec.exe" ] || { mkdir -p "$rec" && cp "$PATHWICK_BUILD_DIR/recorder.exe" "$rec/rec.exe"; }
  for file in "$2" ${3:+"$3"}; do
    local link=$rec/${file##*/}
    [[ ${file##*/} =~ ^[^[:space:]\"]+$ ]] || fail "no recorder file can be named [${file##*/}]"
    [ ! -L "$link" ] || [ "$(readlink "$link")" == "$file" ] || fail "two recorder files named ${file##*/}"
    ln -sfn "$file" "$link"
    command+=" ${file##*/}"
  done
  e2e_wine reg add "$1" /ve /d "$command \"%1\"" /f >/dev/null 2>&1
}

# e2e_record_type EXT FILE [CONTENTS]: files of type EXT open that way.
e2e_record_type() {
  e2e_wine reg add "HKCR\\.$1" /ve /d "PathwickTest.$1" /f >/dev/null 2>&1
  e2e_record_verb "HKCR\\PathwickTest.$1\\shell\\open\\command" "$2" "${3:-}"
}

# ---- The program's settings in the registry ------------------------------------

MENU_KEY='HKCU\Software\Quillmere Software\Pathwick\Menu'
OPTIONS_KEY='HKCU\Software\Quillmere Software\Pathwick\Options'
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

# e2e_with_settings LOGPIXELS [COLOUR VALUE]...: the prefix's DPI and
# colours for the programs started next; Wine reads them as its desktop
# starts, so the running ones are ended first.
e2e_with_settings() {
  "$PATHWICK_WINESERVER" -k
  e2e_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  shift
  while (($# > 1)); do
    e2e_wine reg add 'HKCU\Control Panel\Colors' /v "$1" /d "$2" /f >/dev/null 2>&1
    shift 2
  done
  e2e_driver wait-desktop 30000 >/dev/null || fail "the desktop did not come back"
}

# store_root NUMBER NAME PATH SORTTYPE MAXNOSORT [PATH TYPE]: a root as the
# program stores it (its path a REG_SZ unless told).
store_root() {
  local key="$MENU_KEY\\$1"
  e2e_wine reg add "$key" /v Name /d "$2" /f >/dev/null 2>&1
  e2e_wine reg add "$key" /v Path /t "${6:-REG_SZ}" /d "$3" /f >/dev/null 2>&1
  e2e_wine reg add "$key" /v SortType /t REG_DWORD /d "$4" /f >/dev/null 2>&1
  e2e_wine reg add "$key" /v MaxNoSort /t REG_DWORD /d "$5" /f >/dev/null 2>&1
}

# store_option NAME VALUE: one of the four options (DWORDs).
store_option() {
  e2e_wine reg add "$OPTIONS_KEY" /v "$1" /t REG_DWORD /d "$2" /f >/dev/null 2>&1
}
