#!/usr/bin/env bash
# The release package as a user gets it: the zip matches its checksum, holds
# the stripped 32-bit program, its help page and the read-me; unpacked into a
# folder whose path has blanks, the help page shows every picture in a real
# browser, the program starts, its Folder Menu opens and "Program Help..."
# opens the unpacked help page.
. "$(dirname "$0")/lib.sh"
. "$E2E_HERE/traylib.sh"
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
i686-w64-mingw32-objdump -h "$E2E_APP_DIR/pathwick.exe" | grep -q '\.debug' && fail "the packed exe is not stripped"
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
