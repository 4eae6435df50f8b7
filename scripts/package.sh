#!/usr/bin/env bash
# Builds the Debian package of the editor and the batch programs with CPack:
#   scripts/package.sh [BUILD_DIR [CMAKE_OPTION...]]    (default build/package)
# leaves kvl-editor_VERSION_ARCH.deb in BUILD_DIR, ready for
#   sudo apt install ./build/package/kvl-editor_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=${1:-build/package}
shift || true
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DKVL_BUILD_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr "$@"
cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB)
ls "$build"/kvl-editor_*.deb
