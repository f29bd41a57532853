#!/usr/bin/env bash
# Every fuzz target for a short time on its seeds (TAVLO_FUZZ_SECONDS each,
# default 30): a crash, a leak or undefined behaviour fails the test command.
set -euo pipefail
cd "$(dirname "$0")/../.."
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
TAVLO_FUZZ_CORPUS=$corpus fuzz/run.sh "${TAVLO_FUZZ_SECONDS:-30}"
