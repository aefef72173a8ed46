#!/usr/bin/env bash
# Installs what is missing, builds, puts the programs together in build/program and starts the
# front end SOLVOW in the working folder work-folder/.
#
# build/program holds what the front end finds through solvo.ini: the engine solvowb, the
# default case solvo.def and the help document solvo_help.html (SOLVOW itself lies there too).
# work-folder/ is where the engineer's cases, the reports and the settings files live; it is
# kept from one start to the next, only its solvo.ini is written afresh.
#
# On a machine without a display (neither DISPLAY nor WAYLAND_DISPLAY set) the windows cannot
# open: the script then runs the delivered default case through the engine in the same folder
# and shows what it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

program=build/program
mkdir -p "$program"
cp build/solvowb/solvowb "$program/solvowb"
cp build/frontend/forms/SOLVOW "$program/SOLVOW"
cp data/solvo.def data/solvo_help.html "$program/"

work=work-folder
mkdir -p "$work"
# data/solvo.ini names ../build/program, counted from the working folder.
cp data/solvo.ini "$work/solvo.ini"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "== SOLVOW in $work (program folder $program)"
  cd "$work"
  exec ../build/program/SOLVOW
fi

echo "== no display: the default case through solvowb in $work"
cp data/solvo.def "$work/~indata~.tmp"
status=0
(cd "$work" && ../build/program/solvowb) || status=$?
echo "== exit status $status"
echo "== files in $work"
ls -l "$work"
for f in "$work"/*.RES "$work"/*.res; do
  [ -f "$f" ] || continue
  echo "== $f"
  # Swedish letters of the case name come in the DOS code page, the rest in Windows-1252; the
  # viewer shows both as letters, and so does this.
  LC_ALL=C sed 'y/\x8f\x8e\x99\x86\x84\x94/\xc5\xc4\xd6\xe5\xe4\xf6/' "$f" |
    iconv -f WINDOWS-1252 -t UTF-8 | tr -d '\r'
done
exit "$status"
