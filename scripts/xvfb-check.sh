#!/usr/bin/env bash
# The program under a virtual X server with real X11 events: it opens a file from the
# command line, quits through File > Exit (Alt+F, X) and leaves its settings file written.
# usage: scripts/xvfb-check.sh GUI CLI
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 GUI CLI" >&2
  exit 1
fi
gui=$(realpath "$1")
cli=$(realpath "$2")
work=$(mktemp -d)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The program keeps its settings beside itself: a copy in the scratch folder keeps them there.
cp "$gui" "$work/vantrel"
"$cli" synth "$work/run 1.ens" --ensembles 3000 --bottom-track >/dev/null

# The server picks a free display itself and writes its number once it accepts clients; a
# loaded machine may take seconds for that.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "the X server did not start" >&2; exit 1; }
export DISPLAY=:$(tr -d '[:space:]' < "$work/display")

QT_QPA_PLATFORM=xcb "$work/vantrel" "$work/run 1.ens" >/dev/null 2>"$work/stderr" &
app=$!
window=$(xdotool search --sync --onlyvisible --name "^Vantrel - .*run 1.ens$" | head -n 1)
echo "window $window: $(xdotool getwindowname "$window")"
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key x
for _ in $(seq 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$app" 2>/dev/null; then
  echo "the program did not quit from File > Exit" >&2
  exit 1
fi
wait "$app"
app=
test -s "$work/VTRLOps.Txt" || { echo "no settings file written" >&2; exit 1; }
echo "settings file: $(wc -l < "$work/VTRLOps.Txt") lines"
echo "recent files:  $(cat "$work/VTRLFile.txt")"
