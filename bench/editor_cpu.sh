#!/usr/bin/env bash
# CPU the editor uses, idle or running a net in real time: starts it under Xvfb with a net open
# and its panels shown (simulation, monitor list, object results), for a real-time run presses F9
# (time scale 1, as the editor starts), waits for it to settle, then reads utime+stime of the
# whole process (every thread) from /proc/PID/stat over a span and prints the share of one core.
#   bench/editor_cpu.sh idle|realtime [BUILD_DIR] [NET] [SECONDS] [DISPLAY_NUMBER]
# bench/idle_cpu.sh and bench/realtime_cpu.sh name the mode.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:?usage: editor_cpu.sh idle|realtime [BUILD_DIR] [NET] [SECONDS] [DISPLAY_NUMBER]}
case $mode in idle | realtime) ;; *) echo "unknown mode: $mode" >&2; exit 2 ;; esac
build=${2:-build/release}
net=$(realpath "${3:-bench/nets/ring1000.kvl}")
span=${4:-10}
display=:${5:-57}
work=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT

Xvfb "$display" -screen 0 1600x1000x24 >/dev/null 2>&1 & pids+=($!)
sleep 1
DISPLAY=$display openbox >/dev/null 2>&1 & pids+=($!)
sleep 1
DISPLAY=$display KVL_CONFIG=$work/KVLConfig.ini "$build/app/kvl-editor" >/dev/null 2>&1 &
editor=$!
pids=("$editor" "${pids[@]}")
sleep 3
# Open the net as a user does: Ctrl+O, the path, Return.
window=$(DISPLAY=$display xdotool search --sync --pid "$editor" --onlyvisible --name 'Сітки' | head -1)
DISPLAY=$display xdotool windowactivate --sync "$window" key ctrl+o
sleep 1
DISPLAY=$display xdotool type --delay 5 "$net"
DISPLAY=$display xdotool key Return
sleep 3 # the open settles: its last redraws and fades end
if [ "$mode" = realtime ]; then
    DISPLAY=$display xdotool windowactivate --sync "$window" key F9
    sleep 2 # the run's first frames and result panels
fi

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$editor/stat"; }
before=$(cpu)
sleep "$span"
after=$(cpu)
echo "$mode $(basename "$net"): $((after - before)) ticks in ${span} s = $(echo "scale=2; 100 * ($after - $before) / $ticks / $span" | bc -l) % of a core"
