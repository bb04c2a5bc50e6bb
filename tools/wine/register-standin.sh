#!/usr/bin/env bash
# Registers the stand-in WebBrowser control (tools/webstandin) in place of the
# system's one, in the prefix of a Wine state folder that wine-prefix.sh made.
# Only the prefixes of the tests and of ./run.sh ever get it.
#   register-standin.sh <state folder> <webstandin.dll>
set -euo pipefail
state=$1
dll=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
# shellcheck source=/dev/null
source "$state/env"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
windows_path="Z:${dll//\//\\\\}"
key='HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{8856F961-340A-11D0-A96B-00C04FD705A2}\InprocServer32'
{
  printf '\xff\xfe'
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n@="%s"\r\n"ThreadingModel"="Apartment"\r\n\r\n' \
    "$key" "$windows_path" | iconv -f UTF-8 -t UTF-16LE
} > "$tmp/standin.reg"
# A first start finishes any pending update of the prefix, which would
# register the system's control again over ours.
/usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1
/usr/lib/wine/wine64 regedit /S "Z:${tmp//\//\\}\\standin.reg" </dev/null >/dev/null 2>&1
