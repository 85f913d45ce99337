#!/usr/bin/env bash
# real_window_test.sh KALDRA GRAB_SCREEN: runs the program in a virtual X
# server as a person would: waits for the window "Kaldra" (or "ok-three.scene
# — Kaldra" for a file opened as a file manager opens it), looks at what it
# shows, and ends it three ways (End clicked once
# the diagram is there; the window destroyed while the sweeps still run,
# through the same close as the window manager's close box; Alt+E after the
# legend key has painted over the canvas and Space has paused, not ended,
# the program). Each time it must be gone within a second with status 0.
# Exit status 77: skipped.

set -u
kaldra=$1 grab_screen=$2 app_pid="" failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

{ command -v Xvfb && command -v xdotool; } >/dev/null || {
  echo "SKIP: no Xvfb/xdotool"
  exit 77
}

# Xvfb picks a free display, so parallel runs never share one; -noreset keeps
# it from refusing connections while it resets after its last client left.
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
trap 'kill $app_pid $xvfb_pid 2>/dev/null; wait; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work

# Starts the program with the arguments after the label (it reports its seed)
# and waits up to 10 s for its window; sets `window`. Qt also keeps an
# unmapped 1x1 window of that name.
start() {
  "$kaldra" "${@:2}" &
  app_pid=$! window=""
  local deadline=$(($(now_ms) + 10000))
  while [ -z "$window" ] && [ "$(now_ms)" -lt "$deadline" ] && kill -0 "$app_pid"; do
    window=$(timeout 5 xdotool search --onlyvisible --name 'Kaldra$' | head -n 1)
  done
  [ -n "$window" ] || { fail "$1: no window named Kaldra within 10 s"; ended "$1"; return 1; }
}

# Waits up to a second for the program to end; it must end with status 0.
ended() {
  local start status
  start=$(now_ms)
  while kill -0 "$app_pid" && [ $(($(now_ms) - start)) -lt 1000 ]; do sleep 0.01; done
  kill -0 "$app_pid" && { fail "$1: still running a second later"; kill -KILL "$app_pid"; }
  wait "$app_pid"
  status=$? app_pid=""
  echo "$1: ended after $(($(now_ms) - start)) ms with status $status"
  [ "$status" -eq 0 ] || fail "$1: exit status $status, expected 0"
} 2>/dev/null

# Grabs the window until `condition` holds on its "WIDTH HEIGHT WHITE COLOURS
# OTHER" or `ms` milliseconds have passed; sets w h white colours other.
look() {
  local deadline=$(($(now_ms) + $1))
  while read -r w h white colours other < <("$grab_screen" "$window"); do
    eval "$2" || [ "$(now_ms)" -ge "$deadline" ] && break
    sleep 0.1
  done
}

# The scene is new every run and takes a moment to draw: look until segments
# and three of the six colours are there (a family of curves can lose every
# sample to a nearer segment). Lines and text are unsmoothed and the picture
# unscaled, so no pixel may be of another colour.
if start "End clicked"; then
  look 8000 '[ "$white" -gt 0 ] && [ "$colours" -ge 3 ]'
  echo "window ${w}x$h: white $white, $colours of the six colours, other $other"
  [ "$w $h $((${white:-0} > 0)) $((${colours:-0} >= 3)) ${other:-1}" = "788 565 1 1 0" ] ||
    fail "expected 788x565, white segments, 3 of the six colours and no other colour"
  timeout 5 xdotool mousemove --window "$window" 140 20 click 1
  ended "End clicked"
fi
# xdotool windowclose destroys the X window, which Qt does not notice itself.
start "destroyed" && { timeout 5 xdotool windowclose "$window"; ended "window destroyed while drawing"; }
# A scene file given alone, as a file manager gives it. The legend key paints
# over the canvas, on the screen and not only in a fresh grab, in colours the
# diagram never uses.
if start "legend" "$(dirname "$0")/../tools/corpus/ok-three.scene"; then
  timeout 5 xdotool windowfocus --sync "$window" key l
  look 3000 '[ "$other" -gt 0 ]'
  [ "${other:-0}" -gt 0 ] || fail "the legend key showed nothing over the canvas"
  timeout 5 xdotool key space
  sleep 0.3
  kill -0 "$app_pid" || fail "Space ended the program"
  timeout 5 xdotool key alt+e
  ended "Alt+E after the legend"
fi
echo "$failures check(s) failed"
exit $((failures > 0))
