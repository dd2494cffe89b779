#!/usr/bin/env bash
# Runs the game from the build's run tree: in a window where there is a display, headless otherwise.
# Usage: tools/play.sh BUILD_DIR [host options...]   (for example --headless --frames 60)
set -uo pipefail
build="${1:-build}"; shift || true
game="$build/run/game"
host="$game/brhost"
if [ ! -x "$host" ]; then
  echo "The game is not built yet: there is no host program in $game."
  exit 1
fi

args=("$@")
headless=0
for a in "${args[@]}"; do [ "$a" = "--headless" ] && headless=1; done
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ $headless -eq 0 ]; then
  # No display: run a fixed number of frames off screen, unless the options already say how many.
  frames=0
  for a in "${args[@]}"; do [ "$a" = "--frames" ] && frames=1; done
  echo "No display found: running the game headless."
  args=(--headless "${args[@]}")
  # Long enough to pass the intro and the legal splash and show the main menu.
  [ $frames -eq 0 ] && args+=(--frames 4000)
  headless=1
fi
if [ $headless -eq 1 ]; then
  export SDL_VIDEODRIVER=offscreen
  export LIBGL_ALWAYS_SOFTWARE=1
  export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
fi

cd "$game"
./brhost "${args[@]}"
rc=$?
echo "The run tree is $(pwd); the game's log is $(pwd)/log.txt."
if [ $rc -eq 1 ]; then
  echo "The game could not start: the log says why (a device plug-in or game library may not be built yet)."
fi
exit $rc
