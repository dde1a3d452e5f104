# Sourced by the scripts that run Windows programs. Chooses the Wine loader that can
# run on this machine and starts a persistent wineserver for fast program starts.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# 32-bit Windows programs need a kernel that runs 32-bit Linux programs (Wine's
# 32-bit loader is one). Some kernels have that switched off.
brisk_can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

brisk_start_wineserver() {
  # The persistent server inherits our output; keep it off CI's pipe.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Fonts of the prefix in $WINEPREFIX (default ~/.wine), so dialogs take the room they
# take on Windows. The dialog template's "ＭＳ Ｐゴシック" is replaced by Monapo, made
# to the widths that font is shown with on screen; IPAPGothic, made to its outline
# widths, is wider at 9 points and cuts a label the template sizes for the screen.
# Wine's Marlett draws the caption buttons: Debian's Wine does not look in its own
# font folder, so it is copied into the prefix. Needs the prefix made and the fonts
# installed (cmake/setup-machine.sh --with-wine); quick once done.
brisk_wine_fonts() {
  local prefix=${WINEPREFIX:-$HOME/.wine}
  local fonts=$prefix/drive_c/windows/Fonts
  # Wine writes the name's characters as \x escapes in user.reg.
  local entry='"\xff2d\xff33 \xff30\x30b4\x30b7\x30c3\x30af"="Monapo"'
  if [ -s "$fonts/marlett.ttf" ] && grep -qF "$entry" "$prefix/user.reg" 2>/dev/null; then
    return 0
  fi
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
  # The name reaches Wine intact only through a UTF-8 locale.
  LC_ALL=C.UTF-8 /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Fonts\Replacements' \
      /v 'ＭＳ Ｐゴシック' /d Monapo /f </dev/null >/dev/null 2>&1 ||
    echo "warning: the dialog font's replacement could not be set in $prefix" >&2
}
