#!/usr/bin/env bash
# Builds the parts that must build for Windows without Qt (every platform
# layer, the calendar engine, the holiday table, tavlo-cal) with MinGW-w64,
# then runs them under Wine: the file layer's own probe, and tavlo-cal's dump
# of a few years and its holiday texts compared byte for byte with Linux.
#
# Environment: TAVLO_BUILD_DIR (default build) holds the Linux tavlo-cal;
# TAVLO_REQUIRE_ALL_TOOLS=1 (the test command) turns a missing Wine or Linux
# tavlo-cal into a failure instead of a skipped comparison.
set -euo pipefail
cd "$(dirname "$0")/../.."

for tool in x86_64-w64-mingw32-g++-posix cmake ninja; do
  if ! command -v "$tool" >/dev/null; then
    echo "windows-cross: $tool is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
done

out=$(mktemp -d)
wineserver=
# Wine's server outlives the programs for a few seconds: it goes first.
trap '[ -n "$wineserver" ] && "$wineserver" -k 2>/dev/null; rm -rf "$out"' EXIT

build_started=$(date +%s)
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S scripts/checks/windows -B "$out/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/scripts/checks/windows/mingw-w64.cmake" "${launcher[@]}" >"$out/configure.log" ||
  { cat "$out/configure.log" >&2; exit 1; }
cmake --build "$out/build" >"$out/build.log" || { cat "$out/build.log" >&2; exit 1; }
echo "windows-cross: platform/, lunar/, holidays/ and tavlo-cal built for Windows in $(($(date +%s) - build_started)) s"

skip() {
  if [ "${TAVLO_REQUIRE_ALL_TOOLS:-0}" = 1 ]; then
    echo "windows-cross: $1" >&2
    exit 1
  fi
  echo "windows-cross: SKIPPED the runs under Wine: $1" >&2
  exit 0
}

wine=$(command -v wine64 || true)
[ -z "$wine" ] && [ -x /usr/lib/wine/wine64 ] && wine=/usr/lib/wine/wine64
[ -n "$wine" ] || skip "wine64 is missing (package wine64)"
linux_cal="${TAVLO_BUILD_DIR:-build}/tools/tavlo-cal/tavlo-cal"
[ -x "$linux_cal" ] || skip "no Linux tavlo-cal at $linux_cal to compare with"

# A private Wine prefix, without the prompts for the .NET and HTML engines.
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
wineserver="$(dirname "$wine")/wineserver"
started=$(date +%s)
mkdir -p "$out/run"
"$wine" "$out/build/platform-probe.exe" "Z:${out//\//\\}\\run"  # Wine's Z: is the root folder
# Years of the old tables, the Gregorian reform, the turn to the modern rules
# and the present.
for range in "-104-01-01 -102-12-31" "1582-09-01 1583-12-31" "1899-06-01 1901-12-31" "2019-01-01 2026-12-31"; do
  read -r first last <<<"$range"
  "$linux_cal" dump "$first" "$last" >"$out/linux.tsv"
  "$wine" "$out/build/tavlo-cal/tavlo-cal.exe" dump "$first" "$last" >"$out/windows.tsv"
  if ! cmp "$out/linux.tsv" "$out/windows.tsv"; then
    echo "windows-cross: the Windows dump of $first..$last differs from the Linux one:" >&2
    diff "$out/linux.tsv" "$out/windows.tsv" | head -20 >&2
    exit 1
  fi
  echo "windows-cross: dump $first..$last identical on Windows ($(wc -l <"$out/linux.tsv") days)"
done
# The holiday table compiled in, its texts and the month grid with its marks.
for words in "holidays 2008" "month 2024-02" "day 2024-02-18"; do
  # shellcheck disable=SC2086 # the words are the arguments
  "$linux_cal" $words >"$out/linux.txt"
  # shellcheck disable=SC2086
  "$wine" "$out/build/tavlo-cal/tavlo-cal.exe" $words >"$out/windows.txt"
  if ! cmp "$out/linux.txt" "$out/windows.txt"; then
    echo "windows-cross: tavlo-cal $words differs on Windows:" >&2
    diff "$out/linux.txt" "$out/windows.txt" | head -20 >&2
    exit 1
  fi
  echo "windows-cross: tavlo-cal $words identical on Windows"
done
echo "windows-cross: Wine runs took $(($(date +%s) - started)) s"
