# shellcheck shell=bash
# Sourced by the scripts that keep a step's output out of sight unless the
# step fails.

# Runs the command after $1 with all its output in the log file $1; when it
# fails, shows that log on standard error and returns the command's status.
logged() {
  local log=$1 status=0
  shift
  mkdir -p "$(dirname "$log")"
  "$@" >"$log" 2>&1 || status=$?
  [ "$status" -eq 0 ] || cat "$log" >&2
  return "$status"
}
