#!/usr/bin/env bash
# The tools never wait on, replace or crash over files that are not what they
# seem: pipes and folders as input or output, links as output, a picture cut
# short while it is read, an output stream that cannot be written.
set -euo pipefail
picture=$1 compose=$2 cal=$3 wallpaper=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Runs a command that must fail: exit 1 (not a signal, not a hang) and one
# line on stderr containing $1.
expect_failure() {
  local expected=$1 out status
  shift
  set +e
  out=$(timeout 60 "$@" 2>&1 >/dev/null)
  status=$?
  set -e
  [ "$status" = 1 ] || fail "$*: exit $status"
  [ "$(printf '%s\n' "$out" | wc -l)" = 1 ] || fail "$*: stderr was '$out'"
  [[ "$out" == *"$expected"* ]] || fail "$*: stderr '$out' lacks '$expected'"
}

convert -size 64x48 gradient:navy-gold BMP3:small.bmp
cp small.bmp content.bmp

# A pipe as input is refused at once: nobody will ever write to it.
mkfifo pipe
expect_failure "是管道" "$picture" convert pipe out.bmp
expect_failure "是管道" "$compose" pipe content.bmp out.bmp
expect_failure "是管道" "$compose" small.bmp pipe out.bmp
expect_failure "是文件夹" "$picture" convert "$work" out.bmp
[ ! -e out.bmp ] || fail "a failed conversion wrote out.bmp"

# Outputs: a folder, a pipe or a socket stays as it is; a link is followed.
mkdir folder && echo kept > folder/inside
expect_failure "是文件夹" "$picture" convert small.bmp folder
expect_failure "是文件夹" "$compose" small.bmp content.bmp folder
[ "$(cat folder/inside)" = kept ] || fail "the folder given as output lost its contents"
expect_failure "是管道" "$picture" convert small.bmp pipe
[ -p pipe ] || fail "the pipe given as output was replaced"
python3 -c 'import socket,sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' sock
expect_failure "是套接字" "$picture" convert small.bmp sock
[ -S sock ] || fail "the socket given as output was replaced"
mkdir real && echo old > real/target.bmp && ln -s real/target.bmp link.bmp
"$picture" convert small.bmp link.bmp || fail "convert through a link"
[ -L link.bmp ] || fail "the link was replaced by a file"
"$picture" convert small.bmp plain.bmp
cmp -s real/target.bmp plain.bmp || fail "the file the link names was not replaced"
leftovers=$(ls -A | grep -c tmp || true)
[ "$leftovers" = 0 ] || fail "temporary files left: $(ls -A)"

# A picture cut short while it is read ends in the usual message, never in
# a crash (the truncation lands at a different moment in each run).
convert -size 4000x3000 gradient:red-blue BMP3:big.bmp
for run in 1 2 3 4 5 6; do
  cp big.bmp victim.bmp
  set +e
  "$picture" convert victim.bmp cut.bmp 2>err.txt &
  pid=$!
  sleep "0.0$run"
  truncate -s 100000 victim.bmp
  wait $pid
  status=$?
  set -e
  [ "$status" = 0 ] || [ "$status" = 1 ] || fail "run $run: exit $status ($(cat err.txt))"
  [ "$status" = 0 ] || [ "$(wc -l <err.txt)" = 1 ] || fail "run $run: stderr was '$(cat err.txt)'"
done

# Output streams that cannot be written: exit 1 and one line, even when the
# failure comes long before the end.
for args in "dump 2000-01-01 2001-12-31" "dump 2000-01-01 2000-01-02" "day 2024-02-10" "month 2024-02"; do
  set +e
  # shellcheck disable=SC2086
  out=$(timeout 120 "$cal" $args 2>&1 >/dev/full)
  status=$?
  set -e
  [ "$status" = 1 ] || fail "tavlo-cal $args > /dev/full: exit $status"
  [ "$out" = "tavlo-cal: 写入标准输出失败：磁盘空间不足" ] ||
    fail "tavlo-cal $args > /dev/full: stderr was '$out'"
done
# A closed standard output stays closed: the files and channels the tool
# opens (the toolkit's event channel first) never take its number.
for redirect in ">/dev/full:磁盘空间不足" ">&-:标准输出已关闭"; do
  set +e
  out=$(eval "QT_QPA_PLATFORM=offscreen timeout 60 \"\$wallpaper\" backend 2>&1 ${redirect%%:*}")
  status=$?
  set -e
  [ "$status" = 1 ] || fail "tavlo-wallpaper backend ${redirect%%:*}: exit $status"
  [[ "$out" == "tavlo-wallpaper: 写入标准输出失败：${redirect#*:}" ]] || fail "tavlo-wallpaper backend ${redirect%%:*}: '$out'"
done

[ "$failures" = 0 ] || exit 1
echo "all hostile file cases passed"
