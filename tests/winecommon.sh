# Shared by the test scripts: where Wine is and how a private prefix is made.
# Sourced, not run.

# Everything the tests run is 32-bit, as the shipped program is: the 32-bit
# loader in 32-bit prefixes, which boot faster and hold no 64-bit half.
# Some Linux kernels are built or booted without their 32-bit layer
# (ia32_emulation=off): no 32-bit program, Wine's loader included, starts
# there ("Exec format error"). On such a machine the same sources are built
# for 64-bit Windows and the suite runs them under 64-bit Wine, so that it
# still tests everything it can; the 32-bit road stays the one that ships.
# The probe asks the i386 C library's loader (which wine32:i386 brings) to
# start; before it is installed nothing says no, and the 32-bit road holds.
pathwick_kernel_refuses_32bit() {
  [ -e /lib/ld-linux.so.2 ] && ! /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
if pathwick_kernel_refuses_32bit; then
  export PATHWICK_ARCH=x86_64 WINEARCH=win64
  PATHWICK_WINE=/usr/lib/wine/wine64
else
  export PATHWICK_ARCH=i686 WINEARCH=win32
  PATHWICK_WINE=/usr/lib/wine/wine
fi
PATHWICK_WINESERVER=/usr/lib/wine/wineserver
# Wine reads names and arguments from Linux in the locale's encoding: UTF-8,
# whatever the machine was set up with, so that names in every script reach
# the prefix whole.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or HTML engines to install (there is no network), no desktop menus.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# Windows links its menu and dialog fonts to its CJK font, "MS UI Gothic"
# (as Wine's own defaults for Tahoma do): in the prefix that name stands for
# the CJK font Debian has (fonts-wqy-zenhei), so that every script shows.
# Wine detour: Wine takes a process's GDI font defaults from the process's
# own ANSI code page, where Windows keeps the system's, so a program in
# UTF-8 may find no substitute for "MS Shell Dlg" and draw with fontconfig's
# default, DejaVu Sans: that face is linked too. (Wine rewrites the links of
# Tahoma whenever the code page changes, to its defaults, which name "MS UI
# Gothic" first.)
PATHWICK_CJK_FONT='WenQuanYi Zen Hei'
PATHWICK_CJK_LINKED=('MS Sans Serif' 'MS Shell Dlg' 'DejaVu Sans')

# Boots a prefix once into $1 and sets what every test wants of it: the
# "shell" virtual desktop with its taskbar and tray, no crash dialog, and
# the CJK font linked to the fonts menus and dialogs are drawn with. The
# marker names what the template holds, so that an older one is made anew.
wine_boot_template() {
  local template=$1 face
  [ -f "$template/.ready-cjk3-$WINEARCH" ] && return 0
  rm -rf "$template"
  WINEPREFIX=$template "$PATHWICK_WINE" wineboot -i >/dev/null 2>&1
  WINEPREFIX=$template "$PATHWICK_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
  WINEPREFIX=$template "$PATHWICK_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f >/dev/null 2>&1
  WINEPREFIX=$template "$PATHWICK_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  WINEPREFIX=$template "$PATHWICK_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'MS UI Gothic' /d "$PATHWICK_CJK_FONT" /f >/dev/null 2>&1
  for face in "${PATHWICK_CJK_LINKED[@]}"; do
    WINEPREFIX=$template "$PATHWICK_WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d 'MSGOTHIC.TTC,MS UI Gothic' /f >/dev/null 2>&1
  done
  WINEPREFIX=$template "$PATHWICK_WINESERVER" -w
  touch "$template/.ready-cjk3-$WINEARCH"
}

# A private prefix from the template in little time: the big, read-only part
# is hard-linked; the registry files, which Wine rewrites, are real copies.
wine_clone_prefix() {
  local template=$1 prefix=$2
  rm -rf "$prefix"
  cp -al "$template" "$prefix"
  local reg
  for reg in system.reg user.reg userdef.reg; do
    rm -f "$prefix/$reg"
    cp "$template/$reg" "$prefix/$reg"
  done
}

# Starts a private Xvfb; prints "<display number> <pid>".
start_private_xvfb() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  local pid=$!
  local display
  read -r -t 20 display <"$fifo"
  rm -f "$fifo"
  echo "$display $pid"
}
