#!/usr/bin/env bash
# Runs the program benchmarks on a real X server (Xvfb -noreset + openbox).
# Usage: bench/app/run.sh [BUILD_DIR] [benchmark options...]
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build}
shift || true
source "$here/../../tests/e2e/harness.sh"
e2e_start_display
"$build/bench/app/bench_app" "$@"
