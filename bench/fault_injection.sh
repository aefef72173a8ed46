#!/usr/bin/env bash
# Kills and races of solvowb in scratch folders, many times, and the counts of what they left.
#
#   bench/fault_injection.sh [SOLVOWB] [KILLS] [RACES]
#
# Kills: a folder holds the whole set of case A (report KONTOR.RES, MOMK.DAT, AL.DAT,
# MOMENTBRAND.RES); the case file is replaced by case B (the same name, another heading and
# load) and the engine started, then killed after a random time within one run's length,
# SIGTERM and SIGKILL in turn. Races: two engines started in one folder, the case file
# replaced by B between the two starts.
# After each, the folder holds A's whole set ("old"), B's whole set ("new"), no report with a
# journal of the renames that the next run finishes ("interrupted", SIGKILL only), or
# anything else ("mixed", which must be 0). After every kill the engine runs once more: it
# must finish what was interrupted, leave no temporary and write B's whole set.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
engine=${1:-$root/build/solvowb/solvowb}
kills=${2:-300}
races=${3:-300}
engine=$(cd "$(dirname "$engine")" && pwd)/$(basename "$engine")
scratch=$(mktemp -d /tmp/solvowb-faults-XXXXXX)
main_shell=$BASHPID
trap '[ "$BASHPID" = "$main_shell" ] && rm -rf "$scratch"' EXIT

# The default case as KONTOR with heading $1 and permanent loads $2 (line 12).
make_case() {
  awk -v heading="$1" -v load="$2" '
    NR == 1 { print "KONTOR\r"; next }
    NR == 2 { print heading "\r"; next }
    NR == 12 { print load "\r"; next }
    { print }' "$root/data/solvo.def"
}
make_case "Kontor A" "0.500  0.500" > "$scratch/A.IND"
make_case "Kontor B" "1.500  1.500" > "$scratch/B.IND"
files="MOMK.DAT AL.DAT MOMENTBRAND.RES"
for c in A B; do
  mkdir "$scratch/ref$c"
  cp "$scratch/$c.IND" "$scratch/ref$c/~INDATA~.TMP"
  (cd "$scratch/ref$c" && "$engine" >/dev/null 2>&1)
done

# old, new, interrupted or mixed: what folder $1 holds.
state_of() {
  local dir=$1 report_case="" from_a=0 from_b=0 present=0 f
  for f in $files; do
    [ -f "$dir/$f" ] || continue
    present=$((present + 1))
    cmp -s "$dir/$f" "$scratch/refA/$f" && from_a=$((from_a + 1))
    cmp -s "$dir/$f" "$scratch/refB/$f" && from_b=$((from_b + 1))
  done
  if [ -f "$dir/KONTOR.RES" ]; then
    grep -q "Kontor A" "$dir/KONTOR.RES" && report_case=A
    grep -q "Kontor B" "$dir/KONTOR.RES" && report_case=B
    if [ "$report_case" = A ] && [ $from_a = 3 ]; then echo old
    elif [ "$report_case" = B ] && [ $from_b = 3 ]; then echo new
    else echo mixed; fi
  elif [ -f "$dir/.solvowb-commit" ]; then echo interrupted
  elif [ $present = 0 ]; then echo interrupted
  else echo mixed; fi
}

temporaries() { find "$1" -maxdepth 1 -name '.solvowb-tmp-*' | wc -l; }

# Waits a random time of up to $1 microseconds, without starting a process (the wait of
# "read" on a pipe that never delivers).
mkfifo "$scratch/never"
exec {never}<>"$scratch/never"
pause() {
  local t
  printf -v t '0.%06d' $(( (RANDOM * 32768 + RANDOM) % ($1 + 1) ))
  read -r -t "$t" -u $never
}

# One run's length in microseconds, to spread the kills over it.
mkdir "$scratch/probe"
cp "$scratch/B.IND" "$scratch/probe/~INDATA~.TMP"
# The shortest of five runs, twice over: the kills fall from the start of the process (the
# subshell that starts it takes a while too) to past its end.
cd "$scratch/probe"
run_us=1000000000
for ((k = 0; k < 5; k++)); do
  t0=$EPOCHREALTIME
  "$engine" >/dev/null 2>&1
  t1=$EPOCHREALTIME
  us=$(( (${t1/./} - ${t0/./}) ))
  [ $us -lt $run_us ] && run_us=$us
done
run_us=$((2 * run_us))
cd "$root"

declare -A count
count[old]=0 count[new]=0 count[interrupted]=0 count[mixed]=0
left_temps=0 stale_after=0 not_new_after=0 killed=0
for ((k = 0; k < kills; k++)); do
  dir="$scratch/kill"
  rm -rf "$dir" && mkdir "$dir"
  cp "$scratch/A.IND" "$dir/~INDATA~.TMP"
  (cd "$dir" && "$engine" >/dev/null 2>&1)
  cp "$scratch/B.IND" "$dir/~INDATA~.TMP"
  sig=TERM
  [ $((k % 2)) = 1 ] && sig=KILL
  (cd "$dir" && exec "$engine" >/dev/null 2>&1) &
  pid=$!
  pause $run_us
  kill -$sig $pid 2>/dev/null
  wait $pid 2>/dev/null
  [ $? -gt 128 ] && killed=$((killed + 1))
  s=$(state_of "$dir")
  count[$s]=$((count[$s] + 1))
  [ "$s" = mixed ] && echo "mixed set after SIG$sig, kill $k"
  left_temps=$((left_temps + $(temporaries "$dir")))
  (cd "$dir" && "$engine" >/dev/null 2>&1)
  stale_after=$((stale_after + $(temporaries "$dir")))
  [ "$(state_of "$dir")" = new ] || not_new_after=$((not_new_after + 1))
done
kill_old=${count[old]} kill_new=${count[new]} kill_interrupted=${count[interrupted]}
kill_mixed=${count[mixed]}

count[old]=0 count[new]=0 count[interrupted]=0 count[mixed]=0
refused=0 failed=0
for ((k = 0; k < races; k++)); do
  dir="$scratch/race"
  rm -rf "$dir" && mkdir "$dir"
  cp "$scratch/A.IND" "$dir/~INDATA~.TMP"
  (cd "$dir" && exec "$engine" >/dev/null 2>&1) &
  first=$!
  cp "$scratch/B.IND" "$dir/case.new"
  pause $run_us
  mv "$dir/case.new" "$dir/~INDATA~.TMP"
  (cd "$dir" && exec "$engine" >/dev/null 2>&1) &
  second=$!
  for pid in $first $second; do
    wait $pid
    case $? in
      0) ;;
      2) refused=$((refused + 1)) ;;
      *) failed=$((failed + 1)) ;;
    esac
  done
  s=$(state_of "$dir")
  count[$s]=$((count[$s] + 1))
  [ "$s" = mixed ] && echo "mixed set after race $k"
done

echo "kills and starts spread over ${run_us} us (twice the shortest run)"
echo "kills: $kills (SIGTERM $(( (kills + 1) / 2 )), SIGKILL $(( kills / 2 ))), $killed of them" \
     "before the engine had ended"
echo "  old set $kill_old, new set $kill_new, interrupted $kill_interrupted, mixed sets $kill_mixed"
echo "  temporaries left by the kills $left_temps, left after the next run $stale_after," \
     "next run not B's whole set $not_new_after"
echo "races: $races"
echo "  A's set ${count[old]}, B's set ${count[new]}, interrupted ${count[interrupted]}," \
     "mixed sets ${count[mixed]}; refused (exit 2) $refused, other failures $failed"
[ $((kill_mixed + count[mixed] + stale_after + not_new_after + failed)) = 0 ]
