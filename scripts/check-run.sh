#!/usr/bin/env bash
# Checks the README's run command as a new user meets it, headless: under Xvfb it builds, makes the
# demo study on first use and starts the program, which must show its main window with the demo
# study open. Leaves a screenshot of the screen in docs/run-command.png.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v xdotool >/dev/null && command -v import >/dev/null || {
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get install -y -qq xdotool imagemagick >/dev/null
}
log=$(mktemp)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x800x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; pkill -f "build/app/zokorvane " 2>/dev/null || true; rm -f "$log"' EXIT
DISPLAY=$display scripts/run-demo.sh >"$log" 2>&1 &

# The first build can take minutes; the window then appears within seconds.
for _ in $(seq 1 900); do
  if DISPLAY=$display xdotool search --name "Zo Magnetic Stimulation Data Base" >/dev/null 2>&1; then break; fi
  sleep 1
done
window=$(DISPLAY=$display xdotool search --name "Zo Magnetic Stimulation Data Base" | head -1) || {
  echo "The main window did not appear:"; tail -20 "$log"; exit 1; }
echo "Main window: $(DISPLAY=$display xdotool getwindowname "$window")"
pid=$(pgrep -f "build/app/zokorvane " | head -1)
if ls -l "/proc/$pid/fd" 2>/dev/null | grep -q 'demo/demo.sqlite'; then
  echo "The demo study is open."
else
  echo "The program runs but the demo study is not open."; exit 1
fi
sleep 1
mkdir -p docs
DISPLAY=$display import -window root -crop 700x200+0+0 docs/run-command.png
echo "Screenshot: docs/run-command.png"
