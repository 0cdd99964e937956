#!/usr/bin/env bash
# make fuzz: runs both libFuzzer targets for FUZZ_SECONDS each, from the
# committed seeds; new inputs go to build/fuzz/runs, not into the repo.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=$1
seconds=$2
for target in fuzz_expand fuzz_roundtrip; do
  work=$tree/runs/$target
  mkdir -p "$work"
  echo "== $target for $seconds s"
  "$tree/$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" \
    "$work" tests/fuzz/corpus 2>&1 | grep -E 'stat::number_of_executed_units|stat::new_units_added|ERROR|crash|Done' || true
done
if ls "$tree"/runs/*/crash-* "$tree"/runs/*/leak-* "$tree"/runs/*/timeout-* >/dev/null 2>&1; then
  echo "fuzzing found inputs that fail: see $tree/runs" >&2
  exit 1
fi
echo "fuzzing found nothing"
