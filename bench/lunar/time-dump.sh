#!/usr/bin/env bash
# Times a full dump of the engine's range (-849..2100) with tavlo-cal.
# Usage: bench/lunar/time-dump.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
tool="$build/tools/tavlo-cal/tavlo-cal"
out=$(mktemp)
trap 'rm -f "$out"' EXIT
start=$(date +%s.%N)
"$tool" dump -0849-01-01 2100-12-31 > "$out"
end=$(date +%s.%N)
printf 'tavlo-cal dump -0849-01-01 2100-12-31: %s lines in %.1f s\n' "$(wc -l < "$out")" "$(echo "$end - $start" | bc)"
