#!/usr/bin/env bash
# Checks every C++ source and header of the tree against .clang-format.
#   format_check.sh 1   fails (exit 1) on any file that differs, naming each;
#   format_check.sh 0   only counts them (exit 0).
set -euo pipefail
cd "$(dirname "$0")/.."
enforce="${1:-1}"
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' 2>/dev/null ||
  find platform engine search solvowb frontend tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -type f)
differ=()
for f in "${files[@]}"; do
  [ -f "$f" ] || continue
  clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || differ+=("$f")
done
if [ "$enforce" != 0 ]; then
  if [ "${#differ[@]}" -gt 0 ]; then
    printf 'not formatted (clang-format -i FILE): %s\n' "${differ[@]}" >&2
    exit 1
  fi
  echo "${#files[@]} files formatted"
else
  echo "format check off: ${#differ[@]} of ${#files[@]} files differ from .clang-format"
fi
