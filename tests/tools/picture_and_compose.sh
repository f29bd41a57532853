#!/usr/bin/env bash
# tavlo-picture and tavlo-compose give the pixels ImageMagick gives, write
# 24-bit BMPs, and fail with exit 1 and one line on stderr.
set -euo pipefail
picture=$1 compose=$2 seeds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Every seed picture converts to the pixels ImageMagick decodes (transparency over white).
for f in "$seeds"/{bmp,jpeg,png,gif}/*; do
  "$picture" convert "$f" out.bmp || { fail "convert $f"; continue; }
  [ "$(od -An -tu2 -j28 -N2 out.bmp | tr -d ' ')" = 24 ] || fail "$f: not 24-bit"
  convert "$f[0]" -background white -flatten BMP3:ref.bmp
  diff=$(compare -metric AE -fuzz 2% ref.bmp out.bmp null: 2>&1 || true)
  [ "$diff" = "0" ] || fail "$f: $diff pixels differ from ImageMagick"
done

# The composite: content at (bgW - cW - 52, 4), same size and format as the background.
convert -size 400x300 gradient:navy-gold BMP3:bg.bmp
convert -size 120x80 plasma:fractal -seed 3 BMP3:content.bmp
"$compose" bg.bmp content.bmp mix.bmp
convert bg.bmp content.bmp -geometry +228+4 -composite BMP3:ref.bmp
diff=$(compare -metric AE ref.bmp mix.bmp null: 2>&1 || true)
[ "$diff" = "0" ] || fail "composite differs in $diff pixels"
[ "$(stat -c %s mix.bmp)" = "$(stat -c %s bg.bmp)" ] || fail "composite size differs from the background"

# Failures: exit 1, one line on stderr, nothing written.
check_failure() {
  local out status
  set +e
  out=$("$@" 2>&1 >/dev/null)
  status=$?
  set -e
  [ "$status" = 1 ] || fail "$*: exit $status"
  [ "$(printf '%s\n' "$out" | wc -l)" = 1 ] && [ -n "$out" ] || fail "$*: stderr was '$out'"
}
printf 'BM broken' > broken.bmp
check_failure "$picture" convert missing.jpg x.bmp
check_failure "$picture" convert broken.bmp x.bmp
check_failure "$compose" broken.bmp content.bmp y.bmp
check_failure "$compose" bg.bmp missing.bmp y.bmp
check_failure "$compose" bg.bmp content.bmp no/such/folder/y.bmp
# A wrong command line: exit 2, the cause and the usage line.
for args in "convert" "convert broken.bmp" "convert a b c" "frobnicate a b"; do
  set +e
  # shellcheck disable=SC2086
  out=$("$picture" $args 2>&1 >/dev/null)
  status=$?
  set -e
  [ "$status" = 2 ] || fail "tavlo-picture $args: exit $status"
  [ "$(sed -n 2p <<<"$out")" = "用法：tavlo-picture convert 输入图片 输出图片" ] || fail "tavlo-picture $args: '$out'"
done
[ ! -e x.bmp ] && [ ! -e y.bmp ] || fail "a failed run left a file"

echo "$((failures == 0 ? 1 : 0)) passed, $((failures > 0 ? 1 : 0)) failed"
[ "$failures" = 0 ]
