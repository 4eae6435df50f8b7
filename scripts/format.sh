#!/usr/bin/env bash
# Formats every C++ file git tracks with the repository's .clang-format; with --check, changes
# nothing and fails when a file is not formatted (scripts/test.sh runs it so).
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--check" ]; then
  if ! clang-format --dry-run --Werror "${files[@]}"; then
    echo "format: the files above are not formatted; scripts/format.sh formats them" >&2
    exit 1
  fi
else
  clang-format -i "${files[@]}"
fi
