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
