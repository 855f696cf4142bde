#!/usr/bin/env bash
# Runs the Ansible example playbook with the local connection against two sites on this machine,
# played by one simulator: site-a's radios all take the update, site-b's 127.0.5.21 refuses it.
# The update must fail site-b alone, naming that radio; the check (--check) must fail site-b alone,
# naming its unreachable radio, and send nothing to any radio. Site-a rolls out in waves before a
# deadline, which the check, refusing them, must not be given.
# Usage: check-ansible-example.sh BIN_DIR PLAYBOOK
set -euo pipefail
bin=$1 playbook=$2

if ! command -v ansible-playbook >/dev/null; then
  echo "ansible-playbook is not installed: skipped"
  exit 77
fi

tmp=$(mktemp -d)
sim_pid=
cleanup() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Ansible keeps everything it writes in the scratch folder and reads no configuration but this.
export ANSIBLE_HOME=$tmp/ansible ANSIBLE_LOCAL_TEMP=$tmp/ansible/local ANSIBLE_REMOTE_TEMP=$tmp/ansible/remote
export ANSIBLE_CONFIG=$tmp/ansible.cfg ANSIBLE_NOCOLOR=1 ANSIBLE_RETRY_FILES_ENABLED=0 LC_ALL=C.UTF-8
: >"$ANSIBLE_CONFIG"
cd "$tmp"

head -c 5000 /dev/urandom >main.dat
printf '# site A\n127.0.5.10\n127.0.5.11\n127.0.5.12\n' >site-a.txt
printf '# site B\n127.0.5.20\n127.0.5.21\n127.0.5.22\n' >site-b.txt
cat >inventory.yml <<INVENTORY
sites:
  hosts:
    site-a: {zfu_radios: $tmp/site-a.txt, zfu_waves: "1,2", zfu_deadline: 1h}
    site-b: {zfu_radios: $tmp/site-b.txt}
  vars:
    ansible_connection: local
    ansible_python_interpreter: /usr/bin/python3
    zfu_updater: $bin/zerlind-firm-update
    zfu_firmware: $tmp/main.dat
INVENTORY

"$bin/zerlind-radio-sim" --listen 127.0.5.10-127.0.5.12 --listen 127.0.5.20-127.0.5.22 \
  --refuse 127.0.5.21/program >sim.log 2>&1 &
sim_pid=$!
wait_for_lines() { # pattern, count: the simulator's log has that many matching lines within 5 s
  for _ in $(seq 100); do
    [ "$(grep -c -- "$1" sim.log || true)" -ge "$2" ] && return 0
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.05
  done
  cat sim.log
  fail "the simulator's log has not $2 lines with '$1'"
}
wait_for_lines '^listening on' 6

# play MODE...: runs the playbook, prints its output, and keeps it in play.out
play() {
  local status=0
  ansible-playbook -i inventory.yml "$playbook" "$@" >play.out 2>&1 || status=$?
  cat play.out
  # 2: some host failed; anything else is the playbook itself going wrong.
  [ "$status" = 2 ] || fail "ansible-playbook $* ended with $status, not 2 (a host failed)"
}
recap_failed() { # host: the number of failed tasks in the recap
  sed -n "s/^$1 *:.* failed=\([0-9]*\).*/\1/p" play.out
}
failure_of() { # host: the message of its failed task
  sed -n "s/^fatal: \[$1\]: FAILED! => //p" play.out
}

echo "== update"
play
[ "$(recap_failed site-a)" = 0 ] || fail "site-a failed"
[ "$(recap_failed site-b)" = 1 ] || fail "site-b did not fail"
failure=$(failure_of site-b)
grep -q '127\.0\.5\.21 (failed, exit 6' <<<"$failure" || fail "site-b's failure does not name 127.0.5.21"
grep -q '127\.0\.5\.2[02]' <<<"$failure" && fail "site-b's failure names a radio that was updated"
wait_for_lines 'outcome=' 6
for radio in 10 11 12 20 22; do
  grep -q "outcome=programmed radio=127.0.5.$radio:" sim.log || fail "127.0.5.$radio was not programmed"
done
grep -q 'outcome=refused radio=127.0.5.21:' sim.log || fail "127.0.5.21 did not refuse"

echo "== check"
echo 127.0.5.23 >>site-b.txt  # nothing listens there
play --check
[ "$(recap_failed site-a)" = 0 ] || fail "site-a failed the check"
[ "$(recap_failed site-b)" = 1 ] || fail "site-b passed the check"
failure=$(failure_of site-b)
[ "$(grep -o '127\.0\.5\.[0-9]*' <<<"$failure")" = 127.0.5.23 ] ||
  fail "site-b's failure does not name 127.0.5.23 alone"
# Each of the six radios was connected to once more, and not one byte was sent.
wait_for_lines 'outcome=' 12
[ "$(grep -c 'requests=0 .*outcome=client-closed' sim.log)" = 6 ] || { cat sim.log; fail "the check sent requests"; }
echo "the playbook named the refusing and the unreachable radio of site-b; site-a passed"
