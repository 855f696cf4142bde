#!/usr/bin/env bash
# The command-line updater, a Windows program under Wine, updates the Linux radio simulator on
# loopback (127.0.9.1): the simulator receives exactly the file, and the status is 0.
# Usage: check-cli-under-wine.sh WINE_RUN UPDATER.exe LINUX_SIMULATOR
set -euo pipefail
run=$1 updater=$2 simulator=$3
address=127.0.9.1
sim_pid=
owned_pids="sim_pid"
source "$(dirname "$0")/../app/window-test-support.sh"

# 300000 bytes: 292 whole blocks and a partial one.
head -c 300000 /dev/urandom >"$scratch/main.dat"
"$simulator" --listen "$address" >"$scratch/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do grep -q '^listening on' "$scratch/sim.log" && break; sleep 0.1; done

status=0
"$run" "$updater" --no-progress "Z:${scratch//\//\\}\\main.dat" "$address" >"$scratch/out.log" 2>&1 || status=$?
for _ in $(seq 50); do grep -q '^session=' "$scratch/sim.log" && break; sleep 0.1; done
sent=$(sha256sum "$scratch/main.dat" | cut -d' ' -f1)
received=$(sed -n 's/.*sha256=\([0-9a-f]*\).*/\1/p' "$scratch/sim.log" | tail -n 1)
check "the updater's status is 0 (it is $status)" [ "$status" -eq 0 ]
check "the simulator received the file (sent $sent, received ${received:-nothing})" [ "$sent" = "$received" ]
[ "$fail" = 0 ] || { echo "-- updater:"; cat "$scratch/out.log"; echo "-- simulator:"; cat "$scratch/sim.log"; }
exit "$fail"
