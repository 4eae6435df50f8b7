#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh FOLDER BUILD_TYPE [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$1
type=$2
shift 2
cmake -S . -B "$folder" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null
cmake --build "$folder" -j "$(nproc)"
