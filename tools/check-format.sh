#!/usr/bin/env bash
# Fails (status 1) when a C or C++ file tracked by git differs from what clang-format makes of it with the tree's
# .clang-format, and lists those files; status 2 when clang-format is missing. Nothing is rewritten.
#   tools/check-format.sh            every tracked .c, .cpp and .h file
#   tools/check-format.sh FILE...    only the given files
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root" || exit 2
CLANG_FORMAT="${CLANG_FORMAT:-clang-format}"
if ! command -v "$CLANG_FORMAT" >/dev/null 2>&1; then
  echo "check-format: $CLANG_FORMAT not found (tools/install-deps.sh installs it)" >&2
  exit 2
fi

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files -- '*.c' '*.cpp' '*.h')
fi

# --dry-run -Werror fails on any change clang-format would make; a file it cannot read or parse fails as well,
# rather than passing unseen. Four files at a time.
mapfile -t bad < <(printf '%s\0' "${files[@]}" |
  xargs -0 -n1 -P4 sh -c '"$0" --style=file --dry-run -Werror "$1" >/dev/null 2>&1 || echo "$1"' "$CLANG_FORMAT" |
  sort)

if [ ${#bad[@]} -gt 0 ]; then
  echo "check-format: ${#bad[@]} of ${#files[@]} files are not formatted (clang-format -i --style=file FILE):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "check-format: ${#files[@]} files formatted"
