#!/usr/bin/env bash
# Takes a screenshot of the window under a virtual X server:
# screenshot.sh OUTPUT.png [program arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "$1")
shift
xvfb-run -a -s "-screen 0 1000x700x24" bash -c '
  "$0" "$@" & program=$!
  for _ in $(seq 50); do xdotool search --onlyvisible --name "Corvanta" >/dev/null 2>&1 && break; sleep 0.2; done
  sleep 1
  window=$(xdotool search --onlyvisible --name "Corvanta" | head -n 1)
  import -window "$window" "'"$output"'"
  kill "$program"
' "$root/build/bin/vector-font-clip" "$@"
