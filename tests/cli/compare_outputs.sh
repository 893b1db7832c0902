#!/usr/bin/env bash
# Compares the case outputs of quorlet-cli with the expected text, and, when given a second
# program, with that program's outputs on the same files.
#   compare_outputs.sh EXPECTED DATA_DIR -- CLI... [-- OTHER_CLI...]
set -uo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
expected="$1"
data="$2"
shift 3
first=()
while (($#)) && [[ "$1" != "--" ]]; do first+=("$1"); shift; done
(($#)) && shift
second=("$@")

status=0
actual="$("$here/run_accounting_cases.sh" "$data" "${first[@]}")"
if ! diff -u "$expected" <(printf '%s\n' "$actual"); then
    echo "output of ${first[*]} differs from $expected" >&2
    status=1
fi
if ((${#second[@]})); then
    if [[ ! -x "${second[0]}" ]]; then
        echo "${second[0]} is missing: build the native preset first" >&2
        exit 1
    fi
    other="$("$here/run_accounting_cases.sh" "$data" "${second[@]}")"
    if ! diff -u <(printf '%s\n' "$other") <(printf '%s\n' "$actual"); then
        echo "the two builds print different results on the same files" >&2
        status=1
    fi
fi
((status == 0)) && echo "same output"
exit $status
