#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds, and runs every test twice: in a normal
# build and under AddressSanitizer with UndefinedBehaviorSanitizer; then fuzzes each untrusted
# input of the engine for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export QT_QPA_PLATFORM=offscreen

echo "== Formatting"
scripts/format.sh --check

echo "== Normal build"
scripts/build.sh build/test RelWithDebInfo -DKVL_WERROR=ON
ctest --test-dir build/test --output-on-failure -j "$(nproc)"

echo "== Install"
scripts/install-check.sh build/test

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
# The benchmark programs are built (and so kept compiling) by the normal build only; the
# differential tests, which the normal build runs in full, check half their cases here.
scripts/build.sh build/sanitize Debug -DKVL_SANITIZE=ON -DKVL_WERROR=ON -DKVL_BUILD_BENCH=OFF
# Qt's own libraries keep some allocations until exit; leaks are not what this run looks for.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  KVL_DIFFERENTIAL_SCALE=0.5 ctest --test-dir build/sanitize --output-on-failure -j "$(nproc)"

echo "== Fuzzing, 20 seconds a target"
scripts/fuzz.sh 20
