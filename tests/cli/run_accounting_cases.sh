#!/usr/bin/env bash
# Runs quorlet-cli's price and log commands on the accounting files of tests/cli/accounting and
# prints every command with its output and exit status, so that two builds can be compared.
#   run_accounting_cases.sh DATA_DIR CLI [CLI_ARGS...]
# CLI may be a launcher followed by the program (scripts/wine-exec --prefix P quorlet-cli.exe);
# give paths that stay valid in another directory. The printed commands leave the program out.
set -uo pipefail
data="$(realpath "$1")"
shift
cli=("$@")
[[ -e "${cli[0]}" ]] && cli[0]="$(realpath "${cli[0]}")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp "$data"/*.ini "$work"/
mkdir "$work/empty"

# Output goes through a file: a pipe would stay open as long as the Wine server that the
# program started lives on after it.
run() {
    printf '$ quorlet-cli %s\n' "$*"
    "${cli[@]}" "$@" >"$work/output" 2>&1 </dev/null
    local status=$?
    tr -d '\r' <"$work/output"
    printf '[exit %d]\n' "$status"
}

cd "$work"
run price 163 "2026-12-07 12:00:00" "2026-12-07 12:10:00"
run price 办公室 "2026-12-11 21:30:00" "2026-12-14 07:15:30"
run price Odd "2026-12-08 06:00:00" "2026-12-08 18:00:01" --no-round
run price Odd "2026-12-08 06:00:00" "2026-12-08 18:00:01"
run price 163 "2026-12-07 12:00:00" "2026-12-07 11:00:00"
run log 2026-12-01 2026-12-20
run log 2026-12-20 2026-12-01
cd empty
run log 2026-12-01 2026-12-20
