#!/usr/bin/env bash
# A study of the single-server queue run as a Slurm job array: each task runs one shard of the
# replications and writes its partial result; a last job, started when all of them have ended,
# merges the parts into the same output the whole study gives on one machine.
#
#   sbatch --array=1-8 examples/cluster/slurm-study.sh            # the shards
#   sbatch --dependency=afterok:<JOBID> --wrap \
#     "kvl-sim merge parts/part-*.json > study.json"              # the merge, once they ended
#
# KVL_SIM, NET and the study's options may be changed below; every shard must get the same ones,
# and the same --seed, or the merge refuses the parts.
#SBATCH --job-name=kvl-study
#SBATCH --cpus-per-task=2
#SBATCH --output=slurm-%A_%a.log
set -euo pipefail

KVL_SIM=${KVL_SIM:-kvl-sim}
NET=${NET:-examples/queue.kvl}
SHARDS=${SLURM_ARRAY_TASK_COUNT:?run this script with sbatch --array=1-N}
SHARD=${SLURM_ARRAY_TASK_ID:?run this script with sbatch --array=1-N}

mkdir -p parts
"$KVL_SIM" "$NET" --interval 100000 --warmup 1000 --seed 20261208 \
  --replications 64 --sweep 'Обслуговування.delay=0.6:0.9:0.1' \
  --jobs "${SLURM_CPUS_PER_TASK:-1}" --shard "$SHARD/$SHARDS" > "parts/part-$SHARD.json"
