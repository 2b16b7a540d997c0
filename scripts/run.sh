#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the given
# arguments (for example --lang=en).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
log=$(mktemp)
if ! bash "$root/scripts/build.sh" "$root/build" >"$log" 2>&1; then
  cat "$log" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: start vector-font-clip from a desktop session (or under xvfb-run)." >&2
  exit 1
fi
exec "$root/build/bin/vector-font-clip" "$@"
