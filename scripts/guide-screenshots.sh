#!/usr/bin/env bash
# Makes the pictures of the user's guide (docs/guide/images/) from the real editor: starts it
# under a virtual screen of its own with a sample net, waits for its window, presses the keys a
# user would and dumps the window. Run by hand after the interface changes, then commit the PNGs.
#   scripts/guide-screenshots.sh [BUILD_DIR]    (default build/release, built when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
[ -x "$build/app/kvl-editor" ] || scripts/build.sh "$build" Release
display=:${KVL_SCREENSHOT_DISPLAY:-71}
images=docs/guide/images
work=$(mktemp -d)
mkdir -p "$images"

Xvfb "$display" -screen 0 1400x900x24 -nolisten tcp  >/dev/null 2>&1 &
xvfb_pid=$!
editor_pid=
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null || true
  kill "$wm_pid" "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

# Dumps the screen, with the editor's windows that are shown dumped one by one and pasted over it
# (a dump of the screen alone leaves another top-level's widgets black), into images/NAME.png.
shoot() {
  sleep 1
  xwd -silent -root -out "$work/root.xwd"
  local pieces=() window geometry n=0
  # The main window first, then the panels and dialogs over it.
  for window in $(xdotool search --onlyvisible --pid "$editor_pid" --name "редактор і симулятор") \
                $(xdotool search --onlyvisible --pid "$editor_pid" --name '.' | grep -vx "$main"); do
    geometry=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}')
    n=$((n + 1))
    xwd -silent -id "$window" -out "$work/piece$n.xwd" 2>/dev/null || continue
    pieces+=("$work/piece$n.xwd" $geometry)
  done
  python3 scripts/xwd-to-png.py "$images/$1.png" "$work/root.xwd" "${pieces[@]}"
  echo "guide-screenshots: $images/$1.png"
}

# A fresh settings file: the pictures show the default colours and sizes.
KVL_CONFIG=$work/KVLConfig.ini LANG=uk_UA.UTF-8 "$build/app/kvl-editor" examples/queue.kvl &
editor_pid=$!
main=$(xdotool search --sync --pid "$editor_pid" --name "queue.kvl" | head -1)
sleep 2
shoot editor

# A real-time run for a few seconds, then stopped, so the marks and results have moved on.
xdotool windowactivate --sync "$main" key F9
sleep 4
xdotool key F2
sleep 1
shoot running

# The guide itself, from "Довідка".
xdotool windowactivate --sync "$main" key F1
xdotool search --sync --pid "$editor_pid" --name "Посібник користувача" >/dev/null
shoot guide
