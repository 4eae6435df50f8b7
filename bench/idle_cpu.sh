#!/usr/bin/env bash
# CPU of the idle editor with a net open: see editor_cpu.sh.
#   bench/idle_cpu.sh [BUILD_DIR] [NET] [SECONDS] [DISPLAY_NUMBER]
exec "$(dirname "$0")/editor_cpu.sh" idle "$@"
