#!/usr/bin/env bash
# CPU the editor uses while nothing happens: starts it under Xvfb with a net open and its panels
# shown (simulation, monitor list, object results), waits for it to settle, then reads
# utime+stime from /proc/PID/stat over a span and prints the share of one core.
#   bench/idle_cpu.sh [BUILD_DIR] [NET] [SECONDS] [DISPLAY_NUMBER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
net=$(realpath "${2:-bench/nets/ring1000.kvl}")
span=${3:-10}
display=:${4:-57}
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

ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$editor/stat"; }
before=$(cpu)
sleep "$span"
after=$(cpu)
echo "$(basename "$net"): $((after - before)) ticks in ${span} s = $(echo "scale=2; 100 * ($after - $before) / $ticks / $span" | bc -l) % of a core"
