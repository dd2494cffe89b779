#!/usr/bin/env bash
# Runs the game from the build's run tree: in a window where there is a display, headless otherwise.
set -euo pipefail
build="$1"; shift || true
host="$build/run/game/brhost"
if [ ! -x "$host" ]; then
  echo "The game is not built yet: there is no host program in $build/run/game."
  exit 0
fi
cd "$(dirname "$host")"
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec ./brhost --headless --frames 600 "$@"
fi
exec ./brhost "$@"
