#!/usr/bin/env bash
# The manual pages: each renders without a single warning (as man and
# lintian render them), has the sections a reader looks for, names every
# command and option its tool's --help lists, and the program's page lists
# every tool's page.
#   manuals.sh PAGES_FOLDER VERSION TOOL...
set -euo pipefail
pages=$1 version=$2
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The page as the package installs it.
page_of() {
  sed "s/@PROJECT_VERSION@/$version/g" "$pages/$1.1" >"$work/$1.1"
  echo "$work/$1.1"
}

# Renders the page; any warning fails.
render() {
  local name=$1 page=$2 warnings
  warnings=$(preconv "$page" | groff -ww -z -man -Tutf8 2>&1) || fail "$name: groff failed"
  [ -z "$warnings" ] || fail "$name: groff warns: $warnings"
  # What lintian runs.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$name: man warns: $warnings"
  lexgrog "$page" | grep -q "\"$name - " || fail "$name: no whatis entry: $(lexgrog "$page" 2>&1)"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null >"$work/$name.txt"
}

# The commands and options a help text names.
help_words() {
  local help
  help=$(cat)
  sed -n '/^命令：$/,/^$/p' <<<"$help" | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p'
  grep -o -- '--[a-z][a-z-]*' <<<"$help" | sort -u
}

render tavlo "$(page_of tavlo)"
for section in 名称 概要 描述 文件 参见; do
  grep -qx "$section" "$work/tavlo.txt" || fail "tavlo.1 has no section $section"
done
# The program folder and the line sway needs are where users look for them.
grep -q 'exec ~/.local/share/tavlo/tavlo-wallpaper restore' "$work/tavlo.txt" || fail "tavlo.1 lost the sway line"
grep -q '~/.local/share/tavlo' "$work/tavlo.txt" || fail "tavlo.1 does not name the user's program folder"

for tool in "$@"; do
  name=$(basename "$tool")
  [ -f "$pages/$name.1" ] || {
    fail "no manual page $name.1"
    continue
  }
  render "$name" "$(page_of "$name")"
  text=$work/$name.txt
  for section in 名称 概要 描述 选项 退出状态 文件 示例 参见; do
    grep -qx "$section" "$text" || fail "$name.1 has no section $section"
  done
  for status in 0 1 2; do
    sed -n '/^退出状态$/,/^文件$/p' "$text" | grep -Eq "^ +$status +" || fail "$name.1 does not tell exit status $status"
  done
  grep -q 'tavlo(1)' "$text" || fail "$name.1 does not refer to tavlo(1)"
  grep -q "$name(1)" "$work/tavlo.txt" || fail "tavlo.1 does not list $name(1)"
  words=$(
    "$tool" --help | help_words
    for command in $("$tool" --help | sed -n '/^命令：$/,/^$/p' | sed -n 's/^  \([a-z][a-z-]*\).*/\1/p'); do
      "$tool" "$command" --help | help_words
    done
  )
  for word in $(sort -u <<<"$words"); do
    grep -qw -- "$word" "$text" || fail "$name.1 does not mention $word"
  done
done

[ "$failures" = 0 ] || exit 1
echo "every manual page renders cleanly and covers its tool"
