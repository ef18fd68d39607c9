#!/usr/bin/env bash
# The release package as a user gets it: the zip matches its checksum, holds
# the stripped 32-bit program, its help page and the read-me; unpacked into a
# folder whose path has blanks, the help page shows every picture in a real
# browser, the program starts, its Folder Menu opens and "Program Help..."
# opens the unpacked help page. The zip, the program and the installer carry
# the one version. The installer, silent, puts the program, its shortcut and
# its uninstall entry in place; the program starts from the shortcut's
# target; installing again ends the running copy as Exit does and starts
# the new one; the silent uninstall leaves only the settings. Installed into
# a folder that already holds the user's files, it takes away only its own.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
. "$E2E_HERE/dialoglib.sh"
e2e_init package

dist=$E2E_WORK/dist
bash "$E2E_HERE/../../scripts/package.sh" --no-build "$dist" >/dev/null || fail "package.sh failed"
zip_file=$(ls "$dist"/pathwick-*.zip)
(cd "$dist" && sha256sum -c --quiet "$(basename "$zip_file").sha256") || fail "the checksum does not match the zip"
name=$(basename "$zip_file" .zip)
# docs/ goes whole: the help page and the pictures beside it.
expect_eq "$( (echo "$name/README.txt" "$name/pathwick.exe" | tr ' ' '\n'
  cd "$E2E_HERE/../.." && find docs -type f | sed "s|^|$name/|") | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')" \
  "$(unzip -Z1 "$zip_file" | LC_ALL=C sort | tr '\n' ' ' | sed 's/ $//')" "files in the zip"
expect_contains "$(unzip -Z1 "$zip_file")" "$name/docs/index.html" "the help page in the zip"

E2E_APP_DIR="$E2E_WORK/Program Files/Pathwick Pro"
mkdir -p "$E2E_APP_DIR"
unzip -q "$zip_file" -d "$E2E_APP_DIR"
E2E_APP_DIR=$E2E_APP_DIR/$name
"$PATHWICK_ARCH"-w64-mingw32-objdump -h "$E2E_APP_DIR/pathwick.exe" | grep -q '\.debug' && fail "the packed exe is not stripped"
[ "$(stat -c %s "$E2E_APP_DIR/pathwick.exe")" -lt "$(stat -c %s "$PATHWICK_BUILD_DIR/pathwick.exe")" ] ||
  fail "the packed exe is no smaller than the built one"
grep -q $'\r$' "$E2E_APP_DIR/README.txt" || fail "README.txt lacks Windows line ends"

# Headless Chromium reads a copy of the unpacked page that reports, once
# loaded, which of its pictures loaded and which did not.
docs=$E2E_APP_DIR/docs
{ sed "s|<head>|<head><base href=\"file://${docs// /%20}/\">|" "$docs/index.html"
  cat <<'EOF'
<script>
onload = () => {
  const list = (ok) => [...document.images].filter((i) => !!i.naturalWidth == ok).map((i) => i.getAttribute('src'));
  document.body.dataset.loaded = list(true).sort().join(' ');
  document.body.dataset.broken = list(false).join(' ');
};
</script>
EOF
} >"$E2E_WORK/help-check.html"
dom=$(chromium --headless --no-sandbox --disable-gpu --user-data-dir="$E2E_WORK/chromium" \
  --virtual-time-budget=10000 --dump-dom "file://$E2E_WORK/help-check.html" 2>/dev/null)
dom_says() { grep -o "data-$1=\"[^\"]*\"" <<<"$dom"; }
expect_eq 'data-broken=""' "$(dom_says broken)" "pictures of the help page that do not load"
expect_eq "data-loaded=\"$(cd "$docs" && LC_ALL=C && echo screenshots/*.png)\"" "$(dom_says loaded)" \
  "pictures the help page shows"

version=$(head -n 1 "$E2E_HERE/../../VERSION")
IFS=. read -r major minor patch <<<"$version"
shown=$(printf '%d.%02d' "$major" "$minor")
[ "$patch" == 0 ] || shown+=.$patch
expect_eq "pathwick-$version" "$name" "the zip's name"
resources=$("$PATHWICK_ARCH"-w64-mingw32-windres -i "$E2E_APP_DIR/pathwick.exe" -O rc)
for expected in "FILEVERSION ${version//./, }, 0" "\"ProductVersion\", \"$version.0\"" \
  "version=\"\"$version.0\"\"" "\"Pathwick Pro Version $shown\\n"; do
  expect_contains "$resources" "$expected" "the packed program's resources"
done

opened=$E2E_WORK/opened.txt
e2e_record_type html "$opened"

e2e_start_program
open_config_menu 3 config-menu
config_wh="$MENU_W $MENU_H"
e2e_dismiss_menu
open_folder_menu 1 folder-menu "$config_wh"
e2e_dismiss_menu

open_config_menu 3 config-menu-help
click_entry "$CONFIG_BANDS" 1
e2e_wait_until 10 test -s "$opened" || true
expect_eq "$(e2e_winpath "$E2E_APP_DIR/docs/index.html")" "$(tr -d '\r' <"$opened" | sed 's/ *$//')" \
  "file opened by Program Help..."
e2e_log_text | grep -q -- '----Logging Started Pathwick Pro----' || fail "no run.log beside the unpacked program"
e2e_driver post PathwickDummyWindow 0x10 0 0 >/dev/null
expect_eq 0 "$(e2e_wait_exit 30)" "exit code of the unpacked copy"

# ---- The installer -------------------------------------------------------------
# The installer is a 32-bit program, as NSIS makes them: a kernel that runs
# no 32-bit program cannot start it.
if [ "$PATHWICK_ARCH" != i686 ]; then
  echo "NOTE: the installer is not tried: this kernel runs no 32-bit program"
  exit 0
fi
setup=$dist/$name-setup.exe
(cd "$dist" && sha256sum -c --quiet "$name-setup.exe.sha256") || fail "the checksum does not match the installer"
store_root 0000 Work "$(e2e_winpath "$E2E_WORK/")" 0 25
store_option TrayHelpAtStartup 0
settings_before=$(stored_root 0000)
e2e_wine "$setup" /S || fail "the silent install failed"
winpath_of() { e2e_wine cmd /c echo "$1" | tr -d '\r"'; }
installed=$(winpath_of '%LOCALAPPDATA%\Programs\Pathwick Pro')
shortcut=$(winpath_of '%APPDATA%\Microsoft\Windows\Start Menu\Programs\Pathwick Pro.lnk')
E2E_APP_DIR=$(e2e_wine winepath -u "$installed" | sed 's|/$||')
packed=$(unzip -Z1 "$zip_file" | grep -v '/$' | sed "s|^$name/||")
files_in() { (cd "$1" && find . -mindepth 1 -type "${2:-f}" | sed 's|^\./||' | LC_ALL=C sort); }
expect_eq "$( (echo "$packed"; echo uninstall.exe) | LC_ALL=C sort)" "$(files_in "$E2E_APP_DIR")" "installed files"
cmp -s "$E2E_APP_DIR/pathwick.exe" "$E2E_WORK/Program Files/Pathwick Pro/$name/pathwick.exe" ||
  fail "the installed program is not the packed one"
target=$(tr -c '[:print:]' '\n' <"$(e2e_wine winepath -u "$shortcut")" | grep -m 1 -i '^[a-z]:.*pathwick\.exe$')
expect_eq "$installed\\pathwick.exe" "$target" "the shortcut's target"
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pathwick Pro'
entry() { reg_value "$UNINSTALL_KEY" "$1"; }
expect_eq "Pathwick Pro|$version|Quillmere Software|$target,0" \
  "$(entry DisplayName)|$(entry DisplayVersion)|$(entry Publisher)|$(entry DisplayIcon)" "the uninstall entry"
expect_eq "\"$installed\\uninstall.exe\"|\"$installed\\uninstall.exe\" /S" \
  "$(entry UninstallString)|$(entry QuietUninstallString)" "the uninstall commands"
(($(entry EstimatedSize) >= $(stat -c %s "$E2E_APP_DIR/pathwick.exe") / 1024)) || fail "the entry's size is too small"

e2e_start_program "$target"
open_config_menu 3 installed-config-menu
e2e_dismiss_menu
open_folder_menu 1 installed-folder-menu "$config_wh"
e2e_dismiss_menu

# Over the running copy: it ends in order, and the update starts it again.
e2e_wine "$setup" /S || fail "the silent install over the running copy failed"
expect_eq 0 "$(e2e_wait_exit 30)" "exit code of the copy the update ended"
expect_eq "----Logging Stopped----" "$(e2e_log_text | grep -- '^----' | sed -n 2p)" "the ended copy's last log line"
e2e_pass_startup_dialogs || fail "the update did not start the program again"
e2e_dismiss_menu
expect_eq 2 "$(e2e_log_text | grep -c -- '----Logging Started Pathwick Pro----')" "starts in the installed log"

e2e_wine reg add "$RUN_KEY" /v 'Quillmere Pathwick' /d "\"$target\"" /f >/dev/null 2>&1
e2e_wine "$installed\\uninstall.exe" /S || fail "the silent uninstall failed"
# The uninstaller works on from a copy of itself; the entry goes last.
entry_gone() { ! e2e_wine reg query "$UNINSTALL_KEY" >/dev/null 2>&1; }
e2e_wait_until 60 entry_gone || fail "the uninstall entry stayed"
e2e_driver wait-gone PathwickDummyWindow - 5000 >/dev/null || fail "the uninstaller left the program running"
[ ! -e "$E2E_APP_DIR" ] || fail "left behind: $(cd "$E2E_APP_DIR" && find .)"
[ ! -e "$(e2e_wine winepath -u "$shortcut")" ] || fail "the shortcut stayed"
expect_eq "" "$(reg_value "$RUN_KEY" 'Quillmere Pathwick')" "the autostart value after the uninstall"
expect_eq "$settings_before" "$(stored_root 0000)" "the stored root after the uninstall"

# ---- Into a folder in use ---------------------------------------------------------
# /D= may name a folder that holds the user's files, some where the package
# puts its own (docs): whatever is not the package's stays, through the
# install and the uninstall, and so do the folders that hold it.
tools=$WINEPREFIX/drive_c/Tools
mkdir -p "$tools/docs/thesis"
echo 'first draft' >"$tools/docs/thesis/chapter1.txt"
echo 'to do' >"$tools/notes.txt"
users=$'docs/thesis/chapter1.txt\nnotes.txt'
# The files one list has and the other lacks, "-" and "+" before them.
list_diff() { diff <(echo "$1") <(echo "$2") | sed -n 's/^< /-/p; s/^> /+/p' | paste -sd' '; }
e2e_wine "$setup" /S '/D=C:\Tools' || fail "the silent install into C:\\Tools failed"
expect_eq "" "$(list_diff "$( (echo "$packed"; echo uninstall.exe; echo "$users") | LC_ALL=C sort)" \
  "$(files_in "$tools")")" "files in C:\\Tools after the install, beside the package's and the user's"
e2e_wine 'C:\Tools\uninstall.exe' /S || fail "the silent uninstall from C:\\Tools failed"
e2e_wait_until 60 entry_gone || fail "the uninstall entry of C:\\Tools stayed"
expect_eq "" "$(list_diff "$users" "$(files_in "$tools")")" "files in C:\\Tools after the uninstall, beside the user's"
expect_eq $'docs\ndocs/thesis' "$(files_in "$tools" d)" "folders in C:\\Tools after the uninstall"
expect_eq 'first draft|to do' "$(cat "$tools/docs/thesis/chapter1.txt")|$(cat "$tools/notes.txt")" \
  "the user's files after the uninstall"
