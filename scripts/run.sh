#!/usr/bin/env bash
# Installs what the program needs, builds it, lays out its program folder in
# dist/ and starts it from there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# A warning must not keep the program from starting (the test command, which
# shares this tree, makes warnings errors).
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release -DTAVLO_WERROR=OFF
cmake --install build --prefix dist >/dev/null
exec dist/tavlo
