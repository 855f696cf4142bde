#!/usr/bin/env bash
# The window program, a Windows program under Wine on a bare X server, through the caution, the
# confirmation, an update of the Linux radio simulator on 127.0.9.2 and the completion notice; a
# screenshot of the screen at each step is kept in SHOTS as a build artefact.
# Usage: check-window-under-wine.sh WINE_RUN PROGRAM.exe LINUX_SIMULATOR SHOTS
set -euo pipefail
run=$1 program=$2 simulator=$3 shots=$4
address=127.0.9.2
xvfb_pid= app_pid= sim_pid=
owned_pids="app_pid sim_pid xvfb_pid"
source "$(dirname "$0")/../app/window-test-support.sh"
source "$(dirname "$0")/../app/xvfb.sh"
# Wine starts windows slowly: up to thirty seconds for each.
WAIT_TRIES=150 WAIT_SLICE=0.2
shot() { # name
  mkdir -p "$shots"
  xwd -root -silent | convert xwd:- "$shots/$1.png"
}
keys_to() { # window, keys...
  local id=$1
  shift
  xdotool windowfocus --sync "$id" key --delay 100 "$@"
}

outer_display=${DISPLAY:-}
start_xvfb 1024x768x24 || exit 1
# Wine's desktop must draw on this X server, not on the one its running server first used.
"$run" --end-server
"$run" --start-server
# The next test finds a server again, one that draws where the tests around this one draw.
trap '"$run" --end-server; DISPLAY=$outer_display "$run" --start-server; stop_and_clean' EXIT
head -c 65536 /dev/urandom >"$scratch/main.dat"
"$simulator" --listen "$address" --program-delay 500 >"$scratch/sim.log" 2>&1 &
sim_pid=$!
wait_for grep -q '^listening on' "$scratch/sim.log" || die "the simulator did not start"
# The radio's address where the program keeps it: the registry of the current user.
"$run" reg add 'HKCU\Software\vurn\Zerlind FirmUtility\Config' /v IP /t REG_SZ /d "$address" /f >/dev/null 2>&1

"$run" "$program" "Z:${scratch//\//\\}\\main.dat" >"$scratch/program.log" 2>&1 &
app_pid=$!
# Waits for the window titled TITLE (other than those given), lets it settle and keeps a
# screenshot NAME of the screen; the window is in $found.
step() { # name, what, title, ids to leave out...
  local name=$1 what=$2
  shift 2
  wait_for visible_other "$@" || die "the $what did not appear"
  sleep 1
  shot "$name"
}
step 1-caution caution "Zerlind Firm Utility"
caution=$found
keys_to "$caution" Tab Return
step 2-main-window "main window" "Zerlind Firm Utility" "$caution"
main=$found
keys_to "$main" Return
step 3-confirmation confirmation "Firmware Update"
confirmation=$found
keys_to "$confirmation" Tab Return
step 4-completion "completion notice" "Firmware Update" "$confirmation"
completion=$found
sessions() { grep -c '^session=' "$scratch/sim.log" || true; }
has_session() { [ "$(sessions)" -ge 1 ]; }
wait_for has_session || die "no session at the simulator"
sent=$(sha256sum "$scratch/main.dat" | cut -d' ' -f1)
received=$(sed -n 's/.*sha256=\([0-9a-f]*\).*/\1/p' "$scratch/sim.log" | tail -n 1)
check "one session at the simulator ($(sessions))" [ "$(sessions)" = 1 ]
check "the simulator received the file" [ "$sent" = "$received" ]
keys_to "$completion" Return
exit "$fail"
