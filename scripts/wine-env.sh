# wine-env.sh PREFIX: sourced; sets up the environment for Wine in PREFIX and
# initialises the prefix on first use (under a lock, since ctest runs tests in parallel).
wine_prefix=$(mkdir -p "$1" && cd "$1" && pwd)
export WINEPREFIX=$wine_prefix
export WINEDEBUG=${WINEDEBUG:--all}
# No desktop menu entries, and no offer to download Mono or Gecko. Wine
# keeps to its own uxtheme and winspool wherever another of the same name
# lies; Windows does not (they are not KnownDLLs), so neither does Wine here,
# and a DLL planted beside a program is looked for as Windows would.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d;uxtheme,winspool.drv=n,b"
# Without a Chinese locale Wine draws the captions as boxes.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEARCH=win64

(
  flock 9
  if [[ ! -f "$WINEPREFIX/.kavren-ready" ]]; then
    wineboot -i >/dev/null 2>&1 || true
    # One virtual desktop: Wine draws the title bars itself (Xvfb has no
    # window manager), and windows of separate processes see each other.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    # Wine draws the title-bar buttons with Marlett; without it in the
    # prefix they come out as the letters "0 1 r".
    if [[ -f /usr/share/wine/fonts/marlett.ttf ]]; then
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    wineserver -w
    touch "$WINEPREFIX/.kavren-ready"
  fi
  if [[ ! -f "$WINEPREFIX/.kavren-fonts" ]]; then
    # Wine draws Chinese captions in whichever CJK font fontconfig offers
    # first. Next to Micro Hei, WenQuanYi Zen Hei wins, and its small bitmap
    # strikes make "编码方式" read as other characters. Pointing the Chinese
    # UI fonts that programs and Wine ask for at Micro Hei makes the choice
    # the prefix's own, whatever else the machine has installed.
    reg_file="$WINEPREFIX/kavren-fonts.reg"
    {
      printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
      for face in SimSun NSimSun SimHei "Microsoft YaHei" "Microsoft YaHei UI" 宋体 新宋体 黑体 微软雅黑; do
        printf '"%s"="WenQuanYi Micro Hei"\r\n' "$face"
      done
    } | iconv -f UTF-8 -t UTF-16 >"$reg_file"
    wine regedit /S "$reg_file" >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kavren-fonts"
  fi
  if [[ ! -f "$WINEPREFIX/.kavren-nodebugger-both" ]]; then
    # A crash ends the process at once. Otherwise winedbg attaches and
    # holds it, windows and all, and a test waiting on it waits forever.
    # (winetricks' autostart_winedbg=disabled does the same.) Both registry
    # views: where 32-bit Wine is installed, `wine` is the 32-bit loader and
    # writes only the 32-bit view, which 64-bit programs do not read.
    for view in 64 32; do
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d false /f "/reg:$view" \
        >/dev/null 2>&1
    done
    wineserver -w
    touch "$WINEPREFIX/.kavren-nodebugger-both"
  fi
) 9>"$WINEPREFIX.lock"
