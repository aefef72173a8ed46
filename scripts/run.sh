#!/usr/bin/env bash
# Installs what is missing, builds, and runs the engine on the delivered default case in a
# scratch working folder, then shows what it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

work=work-folder
rm -rf "$work"
mkdir -p "$work"
cp data/solvo.def "$work/~indata~.tmp"
echo "== solvowb in $work"
status=0
(cd "$work" && ../build/engine/solvowb) || status=$?
echo "== exit status $status"
echo "== files in $work"
ls -l "$work"
for f in "$work"/*.RES "$work"/*.res; do
  [ -f "$f" ] || continue
  echo "== $f"
  iconv -f WINDOWS-1252 -t UTF-8 "$f" | tr -d '\r'
done
exit "$status"
