#!/bin/sh
# Starts Tavlo助手, or one of its command-line tools, from the user's own
# program folder. The program keeps every file beside its executable and the
# packaged folder is not writable, so each user gets a folder of their own
# under ${XDG_DATA_HOME:-~/.local/share}/tavlo. On the first run and after
# every upgrade the packaged executables and pages are brought there; the
# user's settings, backgrounds and pictures are never touched. The folder and
# all in it are the user's only: it holds their notes and pictures.
#
# The tools are symbolic links to this script: the name it was started by is
# the executable it starts.
set -eu

self=$(readlink -f "$0")
# The packaged program folder lies at a fixed place relative to this script,
# so an unpacked package tree works as well as an installed one.
shipped=$(cd "$(dirname "$self")/@TAVLO_LAUNCHER_TO_PROGRAM@" 2>/dev/null && pwd) || shipped=
stamp_file=$(dirname "$self")/@TAVLO_LAUNCHER_TO_STAMP@
name=$(basename "$0")

fail() {
  echo "tavlo: $*" >&2
  exit 1
}

[ -n "$shipped" ] && [ -f "$stamp_file" ] || fail "the installed program is incomplete (no $shipped or $stamp_file)"
case $name in
  tavlo | tavlo-*) ;;
  *) name=tavlo ;;
esac

data_home=${XDG_DATA_HOME:-}
# Relative values are to be ignored, as the base directory rules say.
case $data_home in
  /*) ;;
  *)
    [ -n "${HOME:-}" ] || fail "neither XDG_DATA_HOME nor HOME is set: no place for the program folder"
    data_home=$HOME/.local/share
    ;;
esac
folder=$data_home/tavlo
stamp=$(cat "$stamp_file")

# Copies one shipped file into the user's folder: a new file beside it, then a
# rename, so a running copy of the program keeps its executable and a full
# disk leaves the old file in place.
bring() {
  relative=$1
  target=$folder/$relative
  case $relative in
    # A1.bmp is a background like any other once it is there: adding a
    # picture of that name replaces it with the user's own.
    source/DeskTopBG/*) [ ! -e "$target" ] || return 0 ;;
  esac
  if [ -f "$target" ] && cmp -s "$shipped/$relative" "$target"; then
    return 0
  fi
  mkdir -p "$(dirname "$target")"
  partial=$target.partial-$$
  # On disk before the rename: a crash must not leave an empty executable.
  if ! cp "$shipped/$relative" "$partial" || ! sync "$partial" || ! mv -f "$partial" "$target"; then
    rm -f "$partial"
    fail "cannot copy $relative into $folder"
  fi
}

bring_all() {
  # Only files the package ships are written: Data/, the user's own
  # backgrounds, Mix.bmp and tmp/ are never in the package.
  (cd "$shipped" && find . -type f -print) | sed 's|^\./||' | while IFS= read -r relative; do
    bring "$relative"
  done || exit 1
  # The stamp goes last: a run that stopped half-way copies again next time.
  printf '%s\n' "$stamp" >"$folder/.tavlo-version.partial-$$"
  mv -f "$folder/.tavlo-version.partial-$$" "$folder/.tavlo-version"
}

# The folder is created closed, and closed if an earlier version left it
# open; what is copied into it is the user's only too (the executables stay
# executable). The folders above it, the program and the tools keep the
# user's own umask.
user_umask=$(umask)
mkdir -p "$data_home" || fail "cannot create $data_home"
umask 077
mkdir -p "$folder" && chmod go-rwx "$folder" || fail "cannot create $folder"
up_to_date() {
  [ "$(cat "$folder/.tavlo-version" 2>/dev/null || true)" = "$stamp" ] && [ -x "$folder/$name" ]
}

if ! up_to_date; then
  # Two starts at once must not copy over each other.
  exec 9>"$folder/.tavlo-launcher.lock" || fail "cannot write in $folder"
  flock 9
  if ! up_to_date; then
    bring_all
  fi
  exec 9>&-
fi

[ -x "$folder/$name" ] || fail "no program $name in $folder"
umask "$user_umask"
exec "$folder/$name" "$@"
