#!/usr/bin/env bash
# Installs what the program needs, builds it, lays out its program folder in
# dist/ and starts it from there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
cmake --install build --prefix dist >/dev/null
exec dist/tavlo
