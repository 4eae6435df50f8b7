#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each for a while (20 seconds unless
# given): scripts/fuzz.sh [seconds] [target...]. A crash, a memory error, undefined behaviour or
# an input slower than 10 s fails the run; the input is left in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(Load Formula Settings NumberText Simulation Paste)

CXX=clang++ cmake -S . -B build/fuzz -DKVL_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz -j "$(nproc)" >/dev/null

nets=(examples/*.kvl)
[ -d ../shared/conformance/nets ] && nets+=(../shared/conformance/nets/*.kvl)
for target in "${targets[@]}"; do
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  case $target in
    Load | Simulation | Paste) cp "${nets[@]}" "$corpus"/ ;;
    Formula) cp fuzz/corpus/formula/* "$corpus"/ ;;
    NumberText) cp fuzz/corpus/number/* "$corpus"/ ;;
    Settings) cp fuzz/corpus/settings/* "$corpus"/ ;;
  esac
  echo "fuzz: $target for ${seconds} s"
  (cd build/fuzz && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "./fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=0 "corpus/$target" 2>"fuzz-$target.log") ||
    { tail -40 "build/fuzz/fuzz-$target.log"; exit 1; }
done
