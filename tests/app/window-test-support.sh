# Sourced by the window tests, after they set owned_pids to the names of the variables that will
# hold their background processes' ids: a scratch folder, those processes ended and the folder
# removed however the script ends, and check DESCRIPTION COMMAND... that notes a failure in $fail.
scratch=$(mktemp -d)
stop_and_clean() {
  local name pid
  for name in $owned_pids; do
    pid=${!name:-}
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap stop_and_clean EXIT

fail=0
check() { # description, command...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; fail=1; fi
}

# The end of a window test that cannot go on: what went wrong, with the program's and the
# simulator's logs ($scratch/program.log, $scratch/sim.log).
die() {
  echo "FAILED: $*"
  echo "-- program:"; cat "$scratch/program.log" 2>/dev/null || true
  echo "-- simulator:"; cat "$scratch/sim.log" 2>/dev/null || true
  exit 1
}
# Polls a command every WAIT_SLICE seconds (0.1) for up to WAIT_TRIES times (100).
wait_for() {
  for _ in $(seq "${WAIT_TRIES:-100}"); do
    "$@" && return 0
    sleep "${WAIT_SLICE:-0.1}"
  done
  return 1
}
# The one visible window with this title other than the windows given, in $found.
found=
visible_other() { # title, ids to leave out...
  local title=$1 id
  shift
  found=
  for id in $(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null); do
    [[ " $* " == *" $id "* ]] || { found=$id; return 0; }
  done
  return 1
}
