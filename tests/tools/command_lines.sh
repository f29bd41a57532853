#!/usr/bin/env bash
# Every tool and each of its commands answers as Unix tools do: --help on
# standard output with exit 0, --version, a wrong command line as its cause
# and the usage line on standard error with exit 2, a failure as one Chinese
# line naming the file and the cause with exit 1; nothing of the toolkit's
# own on standard error, in any locale.
#   command_lines.sh VERSION TOOL...
set -euo pipefail
version=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# As a user's cron job or a login script runs a tool: no display, no
# runtime folder, no toolkit settings.
run() {
  local locale=$1
  shift
  set +e
  env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM -u LANGUAGE \
    LC_ALL="$locale" LANG="$locale" timeout 60 "$@" >out.txt 2>err.txt
  status=$?
  set -e
}

# The commands a tool's help lists: the first word of each entry under 命令：.
commands_of() {
  sed -n '/^命令：$/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p'
}

expect() {
  local what=$1 want_status=$2
  [ "$status" = "$want_status" ] || fail "$what: exit $status, not $want_status ($(cat err.txt))"
}

# $1 the words, $2 the name of the tool, $3 how the usage line must go on
# after the tool's options (a command's name, or the list of commands).
expect_usage_error() {
  local words=$1 name=$2 command=$3 cause
  expect "$name $words" 2
  [ ! -s out.txt ] || fail "$name $words: wrote to standard output"
  [ "$(wc -l <err.txt)" = 2 ] || fail "$name $words: standard error was '$(cat err.txt)'"
  cause=$(sed -n 1p err.txt)
  [[ "$cause" == "$name: "* ]] && grep -qP '[\x{4e00}-\x{9fff}]' <<<"$cause" ||
    fail "$name $words: the cause '$cause' is not in Chinese"
  [[ "$(sed -n 2p err.txt)" == "用法：$name"*"$command"* ]] || fail "$name $words: usage line '$(sed -n 2p err.txt)'"
}

for tool in "$@"; do
  name=$(basename "$tool")

  run C "$tool" --help
  expect "$name --help" 0
  [ ! -s err.txt ] || fail "$name --help: standard error was '$(cat err.txt)'"
  [[ "$(head -n1 out.txt)" == "用法：$name"* ]] || fail "$name --help begins '$(head -n1 out.txt)'"
  grep -q -- '--version' out.txt && grep -q '^退出状态：' out.txt || fail "$name --help lacks --version or the exit status"
  cp out.txt help.txt
  run zh_CN.UTF-8 "$tool" --help
  cmp -s out.txt help.txt || fail "$name --help differs between the C and zh_CN locales"
  mapfile -t commands < <(commands_of <help.txt)

  run C.UTF-8 "$tool" --version
  expect "$name --version" 0
  [ "$(cat out.txt)" = "$name $version" ] && [ ! -s err.txt ] || fail "$name --version: '$(cat out.txt)' '$(cat err.txt)'"

  run C "$tool" --no-such-option
  expect_usage_error --no-such-option "$name" ''
  [ "$(sed -n 1p err.txt)" = "$name: 未知的选项：--no-such-option" ] || fail "$name: unknown option told as '$(cat err.txt)'"
  run C "$tool" a b c d e f
  expect_usage_error "a b c d e f" "$name" ''

  for command in "${commands[@]}"; do
    run C "$tool" "$command" --help
    expect "$name $command --help" 0
    [ ! -s err.txt ] || fail "$name $command --help: standard error was '$(cat err.txt)'"
    [[ "$(head -n1 out.txt)" == "用法：$name"*" $command"* ]] || fail "$name $command --help begins '$(head -n1 out.txt)'"
    cp out.txt command-help.txt
    run C "$tool" --help "$command"
    cmp -s out.txt command-help.txt || fail "$name --help $command differs from $name $command --help"
    run C "$tool" "$command" --no-such-option
    expect_usage_error "$command --no-such-option" "$name" " $command"
    run C "$tool" "$command" a b c d e f
    expect_usage_error "$command a b c d e f" "$name" " $command"
  done

  # The help is output like any other: a full disk or a closed output is a failure.
  set +e
  message=$("$tool" --help 2>&1 >/dev/full)
  status=$?
  set -e
  expect "$name --help >/dev/full" 1
  [ "$message" = "$name: 写入标准输出失败：磁盘空间不足" ] || fail "$name --help >/dev/full: '$message'"
  set +e
  message=$("$tool" --version 2>&1 >&-)
  status=$?
  set -e
  expect "$name --version >&-" 1
  [ "$message" = "$name: 写入标准输出失败：标准输出已关闭" ] || fail "$name --version >&-: '$message'"
done

# A failure names the file and the cause, on one line, in every locale.
tool_path() {
  local tool
  for tool in "${@:2}"; do [ "$(basename "$tool")" != "$1" ] || echo "$tool"; done
}
expect_failure() {
  local name=$1 expected=$2 tool locale
  shift 2
  tool=$(tool_path "$name" "${tools[@]}")
  [ -n "$tool" ] || return 0
  for locale in C zh_CN.UTF-8; do
    run "$locale" "$tool" "$@"
    expect "$name $* ($locale)" 1
    [ "$(cat err.txt)" = "$name: $expected" ] || fail "$name $* ($locale): standard error was '$(cat err.txt)'"
  done
}
tools=("$@")
mkdir "$work/folder"
expect_failure tavlo-picture "读取文件“$work/missing.bmp”失败：文件不存在" convert "$work/missing.bmp" out.bmp
expect_failure tavlo-compose "读取文件“missing.bmp”失败：文件不存在" missing.bmp content.bmp out.bmp
# render draws the calendar control: not in a build without the windows.
if "$(tool_path tavlo-cal "${tools[@]}")" --help | grep -qw render; then
  expect_failure tavlo-cal "写入文件“$work/no/x.png”失败：文件不存在" render 2024-01-01 "$work/no/x.png"
fi
expect_failure tavlo-cal "未收录2030年的放假安排（已收录2008—2026年）" --folder "$work/folder" holidays 2030
expect_failure tavlo-wallpaper "没有找到图片文件：missing.bmp" set missing.bmp
expect_failure tavlo-notes "没有找到记事数据库“$work/folder/Data/Notes.db”" --folder "$work/folder" list
expect_failure tavlo-notes "读取文件“missing.rtf”失败：文件不存在" text missing.rtf

[ "$failures" = 0 ] || exit 1
echo "every tool answers as a Unix tool"
