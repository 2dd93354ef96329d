# Sourced by the scripts that run the Windows program under Wine.
#   wine_prefix PATH   export Wine's environment for the prefix at PATH,
#                      creating and configuring it on first use; its windows
#                      are unmanaged, so headless runs never wait for a
#                      window manager (for tests)
#   wine_play_prefix PATH
#                      the same for playing on a desktop: the window manager
#                      manages the windows as usual
#   xvfb_start         start Xvfb on a free display and export DISPLAY;
#                      it is stopped when the calling shell exits

wine_cmd() { command -v wine64 >/dev/null 2>&1 && echo wine64 || echo wine; }

wine_prefix() { _wine_prefix_setup "$1" unmanaged; }
wine_play_prefix() { _wine_prefix_setup "$1" managed; }

_wine_prefix_setup() {
  export WINEPREFIX="$1"
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Code page 950 and locale 0x0404: the Chinese texts render as glyphs.
  # glibc needs no zh_TW locale for this; the shell's warning about it is hushed.
  export LC_ALL=zh_TW.UTF-8 2>/dev/null
  # Bump when the set-up below changes, so older prefixes are made anew.
  local setup="brikfall-prefix 5 $2"
  local stamp="$WINEPREFIX/.brikfall-ready"
  [ "$(cat "$stamp" 2>/dev/null)" = "$setup" ] && return 0
  echo "Setting up the Wine prefix in $WINEPREFIX ..."
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
  # Tahoma (the title font, installed below) has neither the title's Chinese
  # glyphs nor the panel's arrows: link it to WenQuanYi, which has both. The
  # system font (the panel's) reaches WenQuanYi through the links of
  # Microsoft Sans Serif, which Wine adds to every font under code page 950.
  local reg="$WINEPREFIX/brikfall.reg"
  cat > "$reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink]
"Tahoma"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
"Microsoft Sans Serif"=hex(7):77,71,79,2d,6d,69,63,72,6f,68,65,69,2e,74,74,63,2c,57,65,6e,51,75,61,6e,59,69,20,4d,69,63,72,6f,20,48,65,69,00,00
REG
  if [ "$2" = unmanaged ]; then
    # Tests: heap checking fills freed blocks, so a use of a freed object
    # faults at once; a fault ends the program without a crash dialog.
    cat >> "$reg" <<'REG'

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager]
"GlobalFlag"=dword:00000070

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Auto"="1"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  fi
  "$(wine_cmd)" regedit /S "$reg" >/dev/null 2>&1
  wineserver -w
  # Wine's own fonts (package fonts-wine): caption buttons draw their glyphs
  # from Marlett; with Tahoma the font dialog can select the title's face.
  local font dir
  for font in marlett.ttf tahoma.ttf tahomabd.ttf; do
    for dir in /usr/share/wine/fonts /usr/share/fonts/truetype/wine; do
      if [ -f "$dir/$font" ]; then
        cp "$dir/$font" "$WINEPREFIX/drive_c/windows/Fonts/"
        break
      fi
    done
  done
  echo "$setup" > "$stamp"
}

xvfb_start() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${XVFB_SCREEN:-1920x1080x24}" -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  # Errors here must not turn a passing run into a failing one under set -e.
  trap 'kill "$XVFB_PID" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
  local waited=0
  until [ -e "/tmp/.X11-unix/X$n" ]; do
    if ! kill -0 "$XVFB_PID" 2>/dev/null || [ $waited -ge 100 ]; then
      echo "Xvfb did not start on :$n" >&2
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$n"
}
