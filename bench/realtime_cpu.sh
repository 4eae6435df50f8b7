#!/usr/bin/env bash
# CPU of the editor running a net in real time at time scale 1 (by default bench/nets/ring1000.kvl
# for 10 s): see editor_cpu.sh.
#   bench/realtime_cpu.sh [BUILD_DIR] [NET] [SECONDS] [DISPLAY_NUMBER]
exec "$(dirname "$0")/editor_cpu.sh" realtime "$@"
