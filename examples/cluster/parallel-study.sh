#!/usr/bin/env bash
# The same study spread over several hosts with GNU parallel: each host runs shards of the
# replications (kvl-sim and the net must be at the same paths there), the partial results come
# back to this machine, and kvl-sim merge puts them together into exactly what one machine gives.
#
#   examples/cluster/parallel-study.sh host1,host2,: > study.json
#
# The hosts are GNU parallel's --sshlogin list; ":" is this machine.
set -euo pipefail

HOSTS=${1:-:}
SHARDS=${SHARDS:-8}
KVL_SIM=${KVL_SIM:-kvl-sim}
NET=${NET:-$PWD/examples/queue.kvl}
PARTS=$(mktemp -d)
trap 'rm -rf "$PARTS"' EXIT

parallel --will-cite --sshlogin "$HOSTS" --return "$PARTS/part-{}.json" --cleanup \
  "mkdir -p $PARTS && $KVL_SIM $NET --interval 100000 --warmup 1000 --seed 20261208 \
     --replications 64 --jobs 1 --shard {}/$SHARDS > $PARTS/part-{}.json" \
  ::: $(seq "$SHARDS")
"$KVL_SIM" merge "$PARTS"/part-*.json
