#!/usr/bin/env bash
# Times the program's GB18030 decoding against iconv -c on the same 100 MB,
# random bytes and valid text, alternating the two, and prints the medians
# and their ratio.
#   bench/platform/decode-vs-iconv.sh [BUILD_DIR] [RUNS] [MEGABYTES]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-5}
megabytes=${3:-100}
probe="$build/bench/platform/tavlo_decode_probe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$megabytes" <<'PY'
import random, sys
folder, size = sys.argv[1], int(sys.argv[2]) << 20
random.seed(25)
with open(f"{folder}/random.bin", "wb") as f:
    f.write(random.randbytes(size))
pieces = ["你好", "note 42, ", "\U00020000", "。\r\n", "日历记事"]
chunk = "".join(random.choice(pieces) for _ in range(200000)).encode("gb18030")
with open(f"{folder}/valid.txt", "wb") as f:
    f.write((chunk * (size // len(chunk) + 1))[:size - size % 2])
PY

now() { date +%s%N; }
median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

printf '%-36s %12s %12s\n' "100 MB of ... (ours vs iconv -c)" "ours" "iconv -c"
for input in random.bin valid.txt; do
  ours=() theirs=()
  for ((i = 0; i < runs; i++)); do
    t0=$(now); "$probe" 54936 "$work/$input" >/dev/null; ours+=($(($(now) - t0)))
    t0=$(now); iconv -c -f GB18030 -t UTF-16LE "$work/$input" >/dev/null 2>&1 || true; theirs+=($(($(now) - t0)))
  done
  a=$(printf '%s\n' "${ours[@]}" | median)
  b=$(printf '%s\n' "${theirs[@]}" | median)
  awk -v n="$input" -v a="$a" -v b="$b" 'BEGIN { printf "%-36s %9.0f ms %9.0f ms   ratio %.2f\n", n, a/1e6, b/1e6, a/b }'
done
