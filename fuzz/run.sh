#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan + libFuzzer) in build-fuzz/
# and runs each for SECONDS (default 600), one after the other.
#   fuzz/run.sh [SECONDS] [TARGET...]
# The corpora grow in fuzz/corpus-TARGET, or under TAVLO_FUZZ_CORPUS when set
# (the test command starts from the seeds alone each time); a crash leaves its
# input in fuzz/artifacts and fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(bmp jpeg png gif settings rtf holidays)

if [ ! -f build-fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAVLO_FUZZ=ON -DTAVLO_GUI=OFF -DTAVLO_TESTS=OFF -DTAVLO_BENCH=OFF
fi
cmake --build build-fuzz --target $(printf 'fuzz_%s ' "${targets[@]}")

for t in "${targets[@]}"; do
  corpus=${TAVLO_FUZZ_CORPUS:-fuzz}/corpus-$t
  mkdir -p "$corpus" fuzz/artifacts
  cp -n fuzz/seeds/$t/* "$corpus"/ 2>/dev/null || true
  dict=()
  [ -f fuzz/$t.dict ] && dict=(-dict=fuzz/$t.dict)
  echo "== fuzz_$t for ${seconds}s"
  build-fuzz/fuzz/fuzz_$t "$corpus" "${dict[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -max_len=65536 -artifact_prefix=fuzz/artifacts/$t- -print_final_stats=1 2>&1 | tail -n 12
done
