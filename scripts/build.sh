#!/usr/bin/env bash
# Configures and builds one build tree. Usage: scripts/build.sh DIR [cmake options...]
# Options given are applied to an existing tree too (cmake keeps the others).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
if [ ! -f "$dir/build.ninja" ] || [ $# -gt 0 ]; then
  cmake -S . -B "$dir" -G Ninja "$@"
fi
cmake --build "$dir"
