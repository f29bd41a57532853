#!/usr/bin/env bash
# Installs the independent holiday package that the comparison test reads,
# into DIR (a folder of the build tree, never the source tree or the system).
# Without npm or the registry it installs nothing and the test says so; where
# every tool is required (TAVLO_REQUIRE_ALL_TOOLS=1) that is a failure.
set -euo pipefail
dir=$1
version=1.5.7
installed="$dir/node_modules/chinese-days/package.json"
if [ -f "$installed" ] && grep -q "\"version\": \"$version\"" "$installed"; then exit 0; fi

required=${TAVLO_REQUIRE_ALL_TOOLS:-0}
if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
  echo "install-reference: node or npm is missing (scripts/install-deps.sh installs them)" >&2
  [ "$required" = 1 ] && exit 1
  exit 0
fi
mkdir -p "$dir"
if ! npm install --prefix "$dir" --no-save --no-audit --no-fund --no-package-lock "chinese-days@$version" >"$dir/npm.log" 2>&1; then
  echo "install-reference: npm could not install chinese-days@$version:" >&2
  tail -5 "$dir/npm.log" >&2
  [ "$required" = 1 ] && exit 1
  exit 0
fi
