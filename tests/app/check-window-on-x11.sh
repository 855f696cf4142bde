#!/usr/bin/env bash
# The desktop program under a bare X server (Xvfb, no window manager), as xprop and xwininfo see
# it, driven with typed keys (xdotool) against the radio simulator on 127.0.0.210 (notices) or
# 127.0.0.211 (keys), so that both can run at once.
#   notices: the main window is centred on the screen and its class is the desktop entry's
#            StartupWMClass; the confirmation, the completion notice, an error box and the file
#            dialog are each transient for the main window and centred on it.
#   keys:    with -nocheck, Enter and Escape typed during a slow transfer do nothing: one session
#            at the simulator, and the program is still running after the update.
#   paint, paint-openbox (127.0.0.212, 127.0.0.213): in English and Japanese (and Japanese at
#            scale 2 without a window manager), the screen (xwd -root) shows each window as the
#            window itself has it once it appears: the caution, the main window, the confirmation,
#            the completion notice, the boxes of a missing file and an empty address. Under openbox
#            the main window's frame is centred on the screen, neither it nor the confirmation is
#            offered maximise, and a confirmation minimised all the same comes back with the main
#            window.
#   drops (127.0.0.214): files dragged from another program (XDND_SOURCE) onto the main window:
#            one firmware file is taken while the window is idle; a file that is not ".dat", two
#            firmware files, a drop during an update and a drop in the preset form are refused,
#            and the source is told so.
# Usage: check-window-on-x11.sh notices|keys|paint|paint-openbox|drops PROGRAM SIMULATOR DESKTOP_ENTRY XDND_SOURCE
set -euo pipefail
mode=$1 program=$2 simulator=$3 entry=$4 xdnd_source=${5:-}
tools="Xvfb xprop xwininfo xdotool"
[[ $mode == paint* ]] && tools+=" xwd python3"
[ "$mode" = paint-openbox ] && tools+=" openbox"
for tool in $tools; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup installs it)"; exit 1; }
done

declare -A addresses=([notices]=127.0.0.210 [keys]=127.0.0.211 [paint]=127.0.0.212 [paint-openbox]=127.0.0.213 [drops]=127.0.0.214)
address=${addresses[$mode]:-127.0.0.210}
xvfb_pid= app_pid= sim_pid= wm_pid= src_pid=
owned_pids="src_pid app_pid sim_pid wm_pid xvfb_pid"
source "$(dirname "$0")/window-test-support.sh"

source "$(dirname "$0")/xvfb.sh"
start_xvfb 1280x1024x24 || exit 1
if [ "$mode" = paint-openbox ]; then
  openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
  wm_pid=$!
  wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
  wait_for wm_ready || die "openbox did not start"
fi

start_simulator() { # extra options...
  "$simulator" --listen "$address" "$@" >"$scratch/sim.log" 2>&1 &
  sim_pid=$!
  wait_for grep -q '^listening on' "$scratch/sim.log" || die "the simulator did not start"
}
stop_simulator() {
  kill "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=
}
sessions() { grep -c '^session=' "$scratch/sim.log" || true; }

# Private settings naming the simulator, and a firmware file of 64 blocks.
mkdir -p "$scratch/config/vurn" "$scratch/runtime"
chmod 700 "$scratch/runtime"
printf '[Config]\nIP=%s\n' "$address" >"$scratch/config/vurn/Zerlind FirmUtility.conf"
head -c 65536 /dev/urandom >"$scratch/main.dat"
start_program() { # arguments...
  XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=xcb env ${program_env:-} \
    "$program" "$@" "$scratch/main.dat" >"$scratch/program.log" 2>&1 &
  app_pid=$!
}

# Twice the centre, so that odd sizes stay whole: "X Y".
doubled_centre() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ *Width:/ {w=$NF} /^ *Height:/ {h=$NF} END {print 2*x+w, 2*y+h}'
}
# Centres within 2 px of each other.
centred_on() { # window, "X Y" doubled centre of what it must be centred on
  local a b
  read -r a b <<<"$(doubled_centre "$1")"
  read -r ax bx <<<"$2"
  [ $(( (a - ax) * (a - ax) <= 16 && (b - bx) * (b - bx) <= 16 )) -eq 1 ]
}
transient_for() { # window, owner
  [ "$(xprop -id "$1" WM_TRANSIENT_FOR | awk '{print $NF}')" = "$(printf '0x%x' "$2")" ]
}
# Keys to a window, given the focus as a window manager would.
keys_to() { # window, keys...
  local id=$1
  shift
  xdotool windowfocus --sync "$id" key "$@"
}
check_notice() { # what, window, main window
  check "$1 transient for the main window" transient_for "$2" "$3"
  check "$1 centred on the main window" centred_on "$2" "$(doubled_centre "$3")"
}

# The screen's pixels where the window stands are the window's own (xwd-match.py says how many).
shows_as_itself() { # window
  read -r x y <<<"$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')"
  xwd -root -silent >"$scratch/root.xwd" && xwd -id "$1" -silent >"$scratch/window.xwd" &&
    python3 "$(dirname "$0")/xwd-match.py" "$scratch/root.xwd" "$scratch/window.xwd" "$x" "$y" >"$scratch/match"
}
check_shown() { # what, window: a window that painted shows at once, and each look reads the screen
  # (up to 15 s: a loaded machine may paint late)
  local deadline=$((SECONDS + 15))
  until shows_as_itself "$2" || [ "$SECONDS" -ge "$deadline" ]; do sleep 0.2; done
  check "$1 on the screen as the window has it ($(cat "$scratch/match" 2>/dev/null))" shows_as_itself "$2"
}
# The frame the window manager reports, centred on the 1280 x 1024 screen within 2 px.
frame_centred() { # window
  IFS=, read -r left right top bottom <<<"$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ' ')"
  [ -n "$bottom" ] && centred_on "$1" "$((1280 - right + left)) $((1024 - bottom + top))"
}
# A window of fixed size is offered no maximise (openbox still draws that slot, greyed, beside a
# minimise button).
not_maximisable() { local a; a=$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS); [[ $a == *ACTION_MOVE* && $a != *MAXIMIZE* ]]; }
shown_normally() { local id; for id; do xprop -id "$id" WM_STATE | grep -q 'state: Normal' || return 1; done; }
next_window() { visible_other "Firmware Update" "$1" || visible_other "Zerlind Firm Utility" "$2"; } # notice, main
only_main_left() { [ "$(xdotool search --onlyvisible --name "^(Zerlind Firm Utility|Firmware Update)\$" | wc -l)" = 1 ]; }
# One pass through every notice and box, from the caution to the empty address.
paint_pass() { # what, environment...
  local what=$1 main box
  shift
  program_env="$*"
  start_program
  wait_for visible_other "Zerlind Firm Utility" || die "$what: the caution did not appear"
  check_shown "$what: caution" "$found"
  keys_to "$found" Tab Return
  wait_for only_main_left && wait_for visible_other "Zerlind Firm Utility" || die "$what: no main window"
  main=$found
  check_shown "$what: main window" "$main"
  if [ "$mode" = paint-openbox ]; then
    wait_for frame_centred "$main" || true
    check "$what: main window's frame centred on the screen" frame_centred "$main"
    check "$what: main window offered no maximise" not_maximisable "$main"
  fi
  for box in "completion notice" "missing-file box" "empty-address box"; do
    case $box in
    missing*) mv "$scratch/main.dat" "$scratch/away.dat" && keys_to "$main" Return ;;
    empty*) mv "$scratch/away.dat" "$scratch/main.dat" && keys_to "$main" Tab Tab ctrl+a BackSpace Return ;;
    *) keys_to "$main" Return ;;
    esac
    wait_for visible_other "Firmware Update" || die "$what: the confirmation did not appear"
    [[ $box == completion* ]] && check_shown "$what: confirmation" "$found"
    if [[ $box == completion* && $mode == paint-openbox ]]; then
      check "$what: confirmation offered no maximise" not_maximisable "$found"
      # openbox offers minimise all the same, and takes the main window with it. The second is
      # openbox's to act on the request; then both come back, however slowly on a loaded machine.
      xdotool windowminimize "$found" && sleep 1
      wait_for shown_normally "$found" "$main" || true
      check "$what: a minimised confirmation comes back with the main window" shown_normally "$found" "$main"
    fi
    keys_to "$found" Tab Return
    wait_for next_window "$found" "$main" || die "$what: the $box did not appear"
    check_shown "$what: $box" "$found"
    keys_to "$found" Return
    wait_for only_main_left || die "$what: the $box did not close"
  done
  printf '[Config]\nIP=%s\n' "$address" >"$scratch/config/vurn/Zerlind FirmUtility.conf"
  kill "$app_pid" && wait "$app_pid" 2>/dev/null || true
  app_pid=
}

case $mode in
paint | paint-openbox)
  start_simulator
  paint_pass English LC_ALL=C.UTF-8
  paint_pass Japanese LC_ALL=ja_JP.UTF-8
  [ "$mode" = paint ] && paint_pass "Japanese at scale 2" LC_ALL=ja_JP.UTF-8 QT_SCALE_FACTOR=2
  ;;
notices)
  start_simulator --program-delay 200
  start_program
  # The caution: Tab from "No" to "Yes", then Enter.
  wait_for visible_other "Zerlind Firm Utility" || die "the caution did not appear"
  caution=$found
  keys_to "$caution" Tab Return
  wait_for visible_other "Zerlind Firm Utility" "$caution" || die "the main window did not appear"
  main=$found
  check "main window centred on the 1280 x 1024 screen" centred_on "$main" "1280 1024"
  class=$(xprop -id "$main" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\(.*\)"$/\1/p')
  wmclass=$(sed -n 's/^StartupWMClass=//p' "$entry")
  check "window class '$class' is the desktop entry's StartupWMClass '$wmclass'" [ -n "$class" -a "$class" = "$wmclass" ]

  # Enter in the address field is Start: the confirmation, answered "Yes", then the completion.
  keys_to "$main" Return
  wait_for visible_other "Firmware Update" || die "the confirmation did not appear"
  confirmation=$found
  check_notice "confirmation" "$confirmation" "$main"
  keys_to "$confirmation" Tab Return
  wait_for visible_other "Firmware Update" "$confirmation" || die "the completion notice did not appear"
  completion=$found
  check_notice "completion notice" "$completion" "$main"
  one_session() { [ "$(sessions)" = 1 ]; }
  wait_for one_session
  check "one session at the simulator ($(sessions))" one_session
  keys_to "$completion" Return

  # No radio any more: the run ends in the error box.
  stop_simulator
  wait_for bash -c '! xdotool search --onlyvisible --name "^Firmware Update\$" >/dev/null' ||
    die "the completion notice did not close"
  keys_to "$main" Return
  wait_for visible_other "Firmware Update" || die "the second confirmation did not appear"
  keys_to "$found" Tab Return
  wait_for visible_other "Zerlind Firm Utility" "$main" || die "the error box did not appear"
  check_notice "error box" "$found" "$main"
  keys_to "$found" Return

  # The file dialog, from the browse button before the address field.
  wait_for bash -c '[ "$(xdotool search --onlyvisible --name "^Zerlind Firm Utility\$" | wc -l)" = 1 ]' ||
    die "the error box did not close"
  keys_to "$main" shift+Tab space
  wait_for visible_other "Open" || die "the file dialog did not appear"
  check_notice "file dialog" "$found" "$main"
  keys_to "$found" Escape
  ;;
keys)
  # 64 blocks, each answered after 60 ms: the transfer takes about four seconds.
  start_simulator --slow all=60
  start_program -nocheck
  wait_for visible_other "Zerlind Firm Utility" || die "the main window did not appear"
  main=$found
  keys_to "$main" Return
  # The connection stands (in /proc/net/tcp, 127.0.0.211:1111 is D300007F:0457, 01 established).
  connected() { awk '$4 == "01" && ($2 == "D300007F:0457" || $3 == "D300007F:0457")' /proc/net/tcp | grep -q .; }
  wait_for connected || die "the update did not start"
  xdotool key Return Escape Escape Escape
  # The keys reached the program while the update still ran, or this run proves nothing.
  connected || die "the update ended before the keys were typed (a very slow machine?)"
  ended() { [ "$(sessions)" -ge 1 ]; }
  wait_for ended || wait_for ended || die "the update did not end"
  # Keys handed on when the run ends would act at once: a second update would be connected
  # within this second, and Escape would have closed the window.
  sleep 1
  again=$(connected && echo yes || echo no)
  check "no second update (connected again: $again)" [ "$again" = no ]
  check "one session at the simulator ($(sessions))" [ "$(sessions)" = 1 ]
  check "the program still runs" kill -0 "$app_pid"
  ;;
drops)
  # 64 blocks, each answered after 60 ms: the transfer takes about four seconds.
  start_simulator --slow all=60
  stored() { sed -n 's/^Filename=//p' "$scratch/config/vurn/Zerlind FirmUtility.conf"; }
  # Drags the files from the source (at the screen's corner) onto the main window's centre, in
  # steps as a hand would; prints what the source was told.
  drag() { # files...
    "$xdnd_source" "$@" >"$scratch/source.out" 2>"$scratch/source.log" &
    src_pid=$!
    wait_for visible_other "drag source" || die "the drag source did not appear"
    local x y step
    read -r x y <<<"$(doubled_centre "$main")"
    xdotool mousemove --sync 50 50 mousedown 1
    for step in 1 2 3 4 5 6 7 8; do
      xdotool mousemove --sync $((50 + (x / 2 - 50) * step / 8)) $((50 + (y / 2 - 50) * step / 8))
      sleep 0.05
    done
    sleep 0.3
    xdotool mouseup 1
    gone() { ! kill -0 "$src_pid" 2>/dev/null; }
    wait_for gone || die "the drag did not end"
    src_pid=
    cat "$scratch/source.out"
  }
  printf 'x' >"$scratch/notes.txt"
  cp "$scratch/main.dat" "$scratch/other.dat"
  start_program -nocheck
  wait_for visible_other "Zerlind Firm Utility" || die "the main window did not appear"
  main=$found
  check "one firmware file is taken" [ "$(drag "$scratch/other.dat")" = copied ]
  check "and stored ($(stored))" [ "$(stored)" = "$scratch/other.dat" ]
  check "a file that is not .dat is refused" [ "$(drag "$scratch/notes.txt")" = refused ]
  check "two firmware files are refused" [ "$(drag "$scratch/main.dat" "$scratch/other.dat")" = refused ]
  check "the stored file stays ($(stored))" [ "$(stored)" = "$scratch/other.dat" ]
  # The connection stands (in /proc/net/tcp, 127.0.0.214:1111 is D600007F:0457, 01 established).
  connected() { awk '$4 == "01" && ($2 == "D600007F:0457" || $3 == "D600007F:0457")' /proc/net/tcp | grep -q .; }
  keys_to "$main" Return
  wait_for connected || die "the update did not start"
  check "a drop during an update is refused" [ "$(drag "$scratch/main.dat")" = refused ]
  connected || die "the update ended before the drop (a very slow machine?)"
  check "the stored file stays ($(stored))" [ "$(stored)" = "$scratch/other.dat" ]
  kill "$app_pid" && wait "$app_pid" 2>/dev/null || true
  start_program -nocheck '*U'
  wait_for visible_other "Zerlind Firm Utility" || die "the main window in the preset form did not appear"
  main=$found
  check "a drop in the preset form is refused" [ "$(drag "$scratch/main.dat")" = refused ]
  ;;
*)
  die "unknown mode $mode"
  ;;
esac
exit "$fail"
