# Sourced by the CI scripts: `step NAME` starts a step and ends the one before it, printing its
# wall time and the processor time of the programs it ran (user + system, all cores); `step
# done` ends the last one. PREFIX names the script in the lines.
step_name=
step_start=0
step_cpu=0

# Processor seconds used so far by the programs this shell has run and waited for.
# (`times` runs in this shell: in a pipe or $(...) it would count a subshell's programs.)
step_times_file=$(mktemp)
trap 'rm -f "$step_times_file" "$step_times_file.cpu"' EXIT
children_cpu() {
  times >"$step_times_file"
  tail -1 "$step_times_file" | awk '{
    t = 0
    for (i = 1; i <= 2; ++i) { split($i, p, "m"); sub("s", "", p[2]); t += p[1] * 60 + p[2] }
    printf "%d", t }'
}

step() {
  if [ -n "$step_name" ]; then
    local cpu
    children_cpu >"$step_times_file.cpu"
    cpu=$(cat "$step_times_file.cpu")
    echo "=== $PREFIX: $step_name took $((SECONDS - step_start)) s" \
      "($((cpu - step_cpu)) s of processor time)"
  fi
  step_name=$*
  step_start=$SECONDS
  children_cpu >"$step_times_file.cpu"
  step_cpu=$(cat "$step_times_file.cpu")
  if [ "$step_name" = done ]; then
    step_name=
  else
    echo
    echo "=== $PREFIX: $* ($(date +%T))"
  fi
}
