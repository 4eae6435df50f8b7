#!/usr/bin/env bash
# kvl-sim against the minimal event loop of ../shared/bench-reference/limit.cpp on the same nets,
# run side by side, alternating, several rounds; prints events per second and their ratio.
#   bench/compare_limit.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
rounds=${2:-5}
limit_src=../shared/bench-reference/limit.cpp
limit=$build/bench/limit
if [[ ! -x $limit || $limit_src -nt $limit ]]; then
  g++ -O2 -o "$limit" "$limit_src"
fi
sim=$build/cli/kvl-sim

rate_limit() { "$limit" "$1" "$2" | sed -E 's/.*events_per_s ([0-9]+).*/\1/'; }
rate_sim() { "$sim" "bench/nets/$1.kvl" --interval "$2" --seed 1 --stats 2>&1 >/dev/null |
  sed -E 's/.*events_per_s ([0-9]+).*/\1/'; }

printf '%-9s %14s %14s %8s\n' net kvl-sim limit ratio
for run in "mm1 2000000" "ring10 20000" "ring1000 1000"; do
  set -- $run
  best_sim=0 best_limit=0
  for ((i = 0; i < rounds; i++)); do
    s=$(rate_sim "$1" "$2"); l=$(rate_limit "$1" "$2")
    ((s > best_sim)) && best_sim=$s
    ((l > best_limit)) && best_limit=$l
  done
  printf '%-9s %14s %14s %8.2f\n' "$1" "$best_sim" "$best_limit" "$(echo "$best_sim / $best_limit" | bc -l)"
done
