# Sourced by the window tests: start_xvfb SCREEN starts a bare X server (no window manager) on a
# display it picks itself, and sets DISPLAY and xvfb_pid. Needs $scratch (a scratch folder).
start_xvfb() { # screen, such as 1280x1024x24
  # -noreset: an X server resets when its last client leaves, and refuses connections meanwhile;
  # a probe (xprop, xdotool) that comes and goes before the program connects would make the
  # program fail to open its display.
  Xvfb -displayfd 3 -noreset -screen 0 "$1" -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
  xvfb_pid=$!
  for _ in $(seq 100); do # up to ten seconds
    [ -s "$scratch/display" ] && break
    sleep 0.1
  done
  [ -s "$scratch/display" ] || { echo "Xvfb did not start:"; cat "$scratch/xvfb.log"; return 1; }
  export DISPLAY=":$(head -n 1 "$scratch/display")"
}
