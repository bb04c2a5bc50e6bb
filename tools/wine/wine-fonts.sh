#!/usr/bin/env bash
# Maps the two font families the launcher draws with to Debian's fonts, in the
# prefix named by WINEPREFIX. Both go to WenQuanYi Zen Hei: the launcher draws
# Chinese messages in "arial", which Windows fills in from its Chinese fonts,
# but Wine's GDI+ has no such fallback and would draw empty boxes. Regedit
# wants a UTF-16 file with its header and a Windows path.
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
{
  printf '\xff\xfe'
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n"arial"="WenQuanYi Zen Hei"\r\n"Arial"="WenQuanYi Zen Hei"\r\n"微软雅黑"="WenQuanYi Zen Hei"\r\n"Microsoft YaHei"="WenQuanYi Zen Hei"\r\n"宋体"="WenQuanYi Zen Hei"\r\n"SimSun"="WenQuanYi Zen Hei"\r\n\r\n' | iconv -f UTF-8 -t UTF-16LE
} > "$tmp/fonts.reg"
/usr/lib/wine/wine64 regedit /S "Z:${tmp//\//\\}\\fonts.reg"
