#!/usr/bin/env bash
# The bash completion of the tools, loaded in bash as the completion loader
# loads it: it offers each tool's commands and options exactly as the tool's
# own --help lists them, and the folders, files, encodings and note dates
# they take.
#   completion.sh COMPLETION_FILE TOOL...
set -euo pipefail
completion=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# shellcheck source=/dev/null
source "$completion"

# What completing the last of the words offers, sorted, one a line; the
# first word is the tool as typed.
offers() {
  local registration function
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  registration=$(complete -p "${1##*/}") || { echo "no completion for ${1##*/}"; return; }
  function=${registration#*-F }
  function=${function%% *}
  "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]:-}"
  if ((${#COMPREPLY[@]})); then printf '%s\n' "${COMPREPLY[@]}" | sort; fi
}

expect_offers() {
  local expected=$1 got
  shift
  got=$(offers "$@")
  [ "$got" = "$(printf '%s' "$expected" | sort)" ] || fail "$* offers '$(echo $got)', not '$(echo $expected)'"
}

# The entries of a help section (命令： or 选项：): their first words.
section() {
  sed -n "/^$1：\$/,/^\$/p" | sed -n 's/^  \([-a-z][-a-z]*\).*/\1/p' | sed 's/^-h,.*/--help/; s/^-h$/--help/'
}
long_options() {
  sed -n '/^选项：$/,/^$/p' | grep -o -- '--[a-z][a-z-]*' | sort -u
}

mkdir folder another
touch file.bmp
for tool in "$@"; do
  name=$(basename "$tool")
  help=$("$tool" --help)
  commands=$(section 命令 <<<"$help")
  if [ -n "$commands" ]; then
    expect_offers "$commands" "$name" ""
  else
    expect_offers "$(printf 'another\nfile.bmp\nfolder')" "$name" ""
  fi
  expect_offers "$(long_options <<<"$help")" "$name" --
  for command in $commands; do
    expect_offers "$("$tool" "$command" --help | long_options)" "$name" "$command" --
    expect_offers "$("$tool" "$command" --help | long_options)" "$name" --version "$command" -
  done
done

# Values and arguments, as the tools read the words before them.
expect_offers "$(printf 'another\nfolder')" tavlo-cal --folder ""
# "--folder=f" as bash hands it over.
expect_offers "folder" tavlo-wallpaper --folder = f
expect_offers "" tavlo-cal render x.png --size ""
expect_offers "$(printf 'gb18030\nutf-8')" tavlo-notes export-all out --encoding ""
expect_offers "file.bmp" tavlo-picture convert fi
expect_offers "$(printf 'another\nfile.bmp\nfolder')" tavlo-compose a.bmp ""
expect_offers "$(printf 'file.bmp\nfolder')" tavlo-wallpaper --verbose set f
expect_offers "" tavlo-wallpaper backend ""
expect_offers "$(printf 'another\nfolder')" tavlo-notes export-all ""
# After "--" a word with a dash is a file.
touch -- -dash.bmp
expect_offers "-dash.bmp" tavlo-picture convert -- -d
rm -- -dash.bmp

# Note dates come from the notes themselves, through the folder given.
notes=$(printf '%s\n' "$@" | grep '/tavlo-notes$' || true)
if [ -n "$notes" ]; then
  mkdir -p program/Data
  {
    for table in tb_A tb_B tb_C tb_D tb_E; do
      echo "create table $table (ID integer primary key, MondayCon blob, TuesdayCon blob, WednesdayCon blob," \
        "ThursdayCon blob, FridayCon blob, SaturdayCon blob); insert into $table (ID) values (1);"
    done
    echo "create table UserCon (conIndex text not null unique, data blob);"
    echo "insert into UserCon values ('20240210', 'new year'), ('20240301', 'spring');"
  } | sqlite3 program/Data/Notes.db
  expect_offers "$(printf '20240210\n20240301')" "$notes" --folder program show ""
  expect_offers "20240301" "$notes" --folder = program export 202403
  expect_offers "$(printf '20240210\n20240301')" "$notes" export --folder program 2024
  expect_offers "$(printf 'another\nfile.bmp\nfolder\nprogram')" "$notes" --folder program export 20240210 ""
fi

[ "$failures" = 0 ] || exit 1
echo "the completion offers what the tools take"
