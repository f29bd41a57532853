#!/usr/bin/env bash
# Installs what the program needs, builds it, lays out its program folder in
# dist/ and starts it from there.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# A tree of its own, with the program alone: the test command's tree makes
# warnings errors and builds the tests too.
scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release -DTAVLO_TESTS=OFF -DTAVLO_BENCH=OFF
cmake --install build-release --prefix dist >/dev/null
exec dist/tavlo
