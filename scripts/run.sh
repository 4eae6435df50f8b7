#!/usr/bin/env bash
# Installs what is missing, builds the release build and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build/release Release
exec build/release/app/kvl-editor "$@"
