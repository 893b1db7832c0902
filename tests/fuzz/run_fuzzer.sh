#!/usr/bin/env bash
# run_fuzzer.sh FUZZER SEED_CORPUS WORK_DIR SECONDS: fuzzes for a bounded time, starting from the
# seed corpus (kept read-only) and a scratch corpus of the build; any crash fails the test.
set -euo pipefail
fuzzer="$1" seeds="$2" work="$3" seconds="$4"
mkdir -p "$work/corpus" "$work/artifacts"
dirs=("$work/corpus")
[[ -d "$seeds" ]] && dirs+=("$seeds")
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/artifacts/" "${dirs[@]}"
