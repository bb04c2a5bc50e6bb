#!/usr/bin/env bash
# The prefix settings the launcher's windows need, in the prefix named by
# WINEPREFIX:
# - The font families the launcher draws with all map to WenQuanYi Micro Hei:
#   the launcher draws Chinese messages in "arial", which Windows fills in
#   from its Chinese fonts, but Wine's GDI+ has no such fallback and would
#   draw empty boxes. (Zen Hei's bitmap strikes garble Chinese at 14 pixels.)
# - Xvfb has no window manager, so Wine places every window itself
#   (Managed=N). A managed window waits for a window manager to apply a
#   maximise, and without one it falls back to its restored size.
# Regedit wants a UTF-16 file with its header and a Windows path.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
{
  printf '\xff\xfe'
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"arial"="WenQuanYi Micro Hei"\r\n"Arial"="WenQuanYi Micro Hei"\r\n"微软雅黑"="WenQuanYi Micro Hei"\r\n"Microsoft YaHei"="WenQuanYi Micro Hei"\r\n"宋体"="WenQuanYi Micro Hei"\r\n"SimSun"="WenQuanYi Micro Hei"\r\n\r\n' | iconv -f UTF-8 -t UTF-16LE
} > "$tmp/settings.reg"
/usr/lib/wine/wine64 regedit /S "Z:${tmp//\//\\}\\settings.reg"
