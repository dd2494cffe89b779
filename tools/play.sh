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
  echo "No display found: running the game headless."
  args=(--headless "${args[@]}")
  headless=1
fi
if [ $headless -eq 1 ]; then
  # Unless the options say when to leave: once the main menu has been shown for two seconds of the game's own
  # time (after the intro and the legal splash), however fast or slow the machine; the screenshot of the last
  # frame then shows the menu.
  until=0
  for a in "${args[@]}"; do [ "$a" = "--frames" ] || [ "$a" = "--until-state" ] && until=1; done
  [ $until -eq 0 ] && args+=(--until-state BrRAGGameStateMainMenu --state-seconds 2)
  export SDL_VIDEODRIVER=offscreen
  export LIBGL_ALWAYS_SOFTWARE=1
  export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
fi

cd "$game"
# Said before the game runs: when it cannot start, the host's own last line says why.
echo "The run tree is $(pwd); the game's log is $(pwd)/log.txt."
exec ./brhost "${args[@]}"
