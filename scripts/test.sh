#!/usr/bin/env bash
# Installs what the build and the tests need, builds everything and runs every
# test: the whole suite, then every test that needs no window again under
# ASan+UBSan, then the checks (the fuzz targets, the Windows build, the
# package). Compiler warnings are errors here.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# Window tests run offscreen; Qt WebEngine needs its sandbox off as root and a
# private runtime folder. Test discovery runs the binaries too, so this holds
# for the whole run.
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export XDG_RUNTIME_DIR=$(mktemp -d)
chmod 700 "$XDG_RUNTIME_DIR"
export LC_ALL=C.UTF-8
# Every tool the tests use was installed above: a missing one fails the run
# instead of skipping tests.
export TAVLO_REQUIRE_ALL_TOOLS=1

scripts/build.sh build -DTAVLO_WERROR=ON
ctest --test-dir build --output-on-failure -j2 --timeout 600

scripts/build.sh build-asan -DTAVLO_WERROR=ON -DTAVLO_SANITIZE=ON -DTAVLO_GUI=OFF -DTAVLO_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j2 --timeout 600

for check in scripts/checks/*.sh; do
  [ -e "$check" ] && bash "$check"
done
