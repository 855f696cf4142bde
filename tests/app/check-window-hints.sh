#!/usr/bin/env bash
# The main window as a real X server (Xvfb) and its window managers see it: an ordinary
# application window (type NORMAL, transient for no other window, not modal), fixed in size, with
# a minimise box and no maximise box. Usage: check-window-hints.sh PROGRAM
set -euo pipefail
program=$1
for tool in Xvfb xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup installs it)"; exit 1; }
done

xvfb_pid= app_pid=
owned_pids="app_pid xvfb_pid"
source "$(dirname "$0")/window-test-support.sh"

source "$(dirname "$0")/xvfb.sh"
start_xvfb 1024x768x24 || exit 1

# Private settings and runtime folders; the caution is skipped so the main window opens at once.
mkdir -p "$scratch/config" "$scratch/runtime"
chmod 700 "$scratch/runtime"
XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch/runtime" QT_QPA_PLATFORM=xcb \
  "$program" -nocheck >"$scratch/program.log" 2>&1 &
app_pid=$!

title="Zerlind Firm Utility"
props=
for _ in $(seq 100); do # up to ten seconds
  props=$(xprop -name "$title" 2>/dev/null | grep -v $'^\t') && [ -n "$props" ] && grep -q '^WM_NORMAL_HINTS' <<<"$props" && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$props" ] || { echo "the main window did not appear:"; cat "$scratch/program.log"; exit 1; }
hints=$(xprop -name "$title" WM_NORMAL_HINTS)

type_line=$(grep '^_NET_WM_WINDOW_TYPE(ATOM)' <<<"$props" || true)
check "window type NORMAL only ($type_line)" [ "$type_line" = "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL" ]
check "transient for no window" bash -c '! grep -q "^WM_TRANSIENT_FOR" <<<"$1"' _ "$props"
check "not marked modal" bash -c '! grep -q "_NET_WM_STATE_MODAL" <<<"$1"' _ "$props"

minimum=$(sed -n 's/.*program specified minimum size: //p' <<<"$hints")
maximum=$(sed -n 's/.*program specified maximum size: //p' <<<"$hints")
check "fixed size (minimum '$minimum', maximum '$maximum')" [ -n "$minimum" -a "$minimum" = "$maximum" ]

# Motif hints: flags, functions, decorations. Minimise is bit 3 of the functions and bit 5 of the
# decorations; maximise is bit 4 and bit 6.
motif=$(sed -n 's/^_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = //p' <<<"$props" | tr -d ' ')
IFS=, read -r _ functions decorations _ <<<"$motif"
check "motif hints present ($motif)" [ -n "$functions" -a -n "$decorations" ]
if [ -n "$functions" ] && [ -n "$decorations" ]; then
  check "a minimise box" [ $(( (functions & 0x8) && (decorations & 0x20) )) -eq 1 ]
  check "no maximise box" [ $(( (functions & 0x10) || (decorations & 0x40) )) -eq 0 ]
fi
exit "$fail"
