# Sourced by cmake/wine-run.sh and scripts/wine-env.sh: which of Wine's loaders runs a program.
# A kernel without ia32 emulation cannot start the 32-bit loader; there the programs are built
# as 64-bit ones and Wine's own tools (reg, wineboot) run under the 64-bit loader too.
wine32_runs() {
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# wine_loader_for PROGRAM: the loader for a PE file by its machine (0x8664 in its header is a
# 64-bit one); for a name that is no file (a Wine tool) the loader this machine can run.
wine_loader_for() {
  local pe_offset
  if [ -f "$1" ]; then
    pe_offset=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    if [ -n "$pe_offset" ] && [ "$(od -An -tx2 -j$((pe_offset + 4)) -N2 "$1" | tr -d ' ')" = 8664 ]; then
      echo /usr/lib/wine/wine64
      return
    fi
    echo wine
  elif wine32_runs; then
    echo wine
  else
    echo /usr/lib/wine/wine64
  fi
}

# Puts Wine's own fonts (package fonts-wine: Marlett draws the title-bar buttons, Tahoma and MS
# Sans Serif the dialogs) into the prefix's Fonts folder. This Wine looks for them beside its data
# folder under a name it cannot open ("...\share\wine\../fonts"); without them every caption that
# Wine draws itself reads "0 1 r".
wine_own_fonts() {
  local fonts="$1/drive_c/windows/Fonts" font
  [ -d /usr/share/wine/fonts ] || return 0
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*; do
    [ -e "$fonts/${font##*/}" ] || ln -sf "$font" "$fonts/"
  done
}

# wine_link_cjk_font LOADER: links the CJK font that set-up installs behind Wine's UI fonts in
# WINEPREFIX, so that Chinese and Japanese names are drawn, not boxes. Nothing when the font is
# missing. The caller keeps others out of the prefix meanwhile.
cjk_font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
wine_link_cjk_font() {
  local face key=HKLM\\Software\\Microsoft\\Windows\ NT\\CurrentVersion\\FontLink\\SystemLink
  [ -f "$cjk_font" ] || return 0
  for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    timeout 120 "$1" reg add "$key" /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f \
      >/dev/null 2>&1 || return 1
  done
}

# wine_fonts_once LOADER: both of the above, once per prefix (WINEPREFIX), for a prefix that
# programs are run in by hand or by the main job.
wine_fonts_once() {
  [ -f "$WINEPREFIX/.fonts-ready" ] && return 0
  (
    flock 9
    [ -f "$WINEPREFIX/.fonts-ready" ] && exit 0
    wine_own_fonts "$WINEPREFIX" && wine_link_cjk_font "$1" && touch "$WINEPREFIX/.fonts-ready"
  ) 9>"$WINEPREFIX.lock"
}

