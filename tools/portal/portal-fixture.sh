#!/usr/bin/env bash
# The development portal as a test fixture: started on a free port of its
# own, detached from the caller's output (CTest would wait for the pipe),
# and stopped again. The port is in <state folder>/portal.port once it
# listens; requests.log in the same folder.
#   portal-fixture.sh start|stop <state folder>
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
action=$1
state=$2
case "$action" in
start)
  "$0" stop "$state"
  rm -rf "$state"
  mkdir -p "$state"
  state=$(cd "$state" && pwd)
  python3 "$here/portal.py" --port 0 --state-dir "$state" --ready-file "$state/portal.port" \
    </dev/null >"$state/portal.out" 2>&1 &
  echo $! >"$state/portal.pid"
  for _ in $(seq 1 100); do [ -s "$state/portal.port" ] && break; sleep 0.1; done
  [ -s "$state/portal.port" ] || { cat "$state/portal.out" >&2; exit 1; }
  echo "Development portal on port $(cat "$state/portal.port"), state in $state"
  ;;
stop)
  if [ -f "$state/portal.pid" ]; then
    kill "$(cat "$state/portal.pid")" 2>/dev/null || true
    rm -f "$state/portal.pid"
  fi
  ;;
*)
  echo "usage: $0 start|stop <state folder>" >&2
  exit 2
  ;;
esac
