#!/usr/bin/env bash
# The bash completions of zqr and varnelook, called as bash calls them: the words of the
# command line in COMP_WORDS, the word being completed in COMP_CWORD, the answers in COMPREPLY.
set -uo pipefail
zqr=$1
completions=$2 # the folder of the completion files
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

expect() { # expect DESCRIPTION EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}

# The completions of the last word of the command line given, sorted, joined by "|".
completions_of() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  "$(complete -p "$1" | sed -E 's/.* -F ([^ ]+) .*/\1/')"
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd'|'
}

mkdir -p bin docs sub
ln -s "$zqr" bin/zqr
PATH=$work/bin:$PATH
printf 'text\n' > docs/readme.txt
printf 'text\n' > "docs/space name.txt"
zqr pack a.zqr docs
cp a.zqr B.ZQR
printf 'not an archive\n' > notes.txt

# shellcheck disable=SC1091
source "$completions/zqr"
# shellcheck disable=SC1091
source "$completions/varnelook"

expect "zqr: the commands" "--help|--version|check|get|list|pack" "$(completions_of zqr "")"
expect "zqr: a command by its start" "list" "$(completions_of zqr li)"
expect "zqr list: its options" "--help|--json|-0|-l" "$(completions_of zqr list -)"
expect "zqr list: folders and archives only" "B.ZQR|a.zqr|bin|docs|sub" "$(completions_of zqr list "")"
expect "zqr check: after --, folders and archives" "B.ZQR|a.zqr|bin|docs|sub" "$(completions_of zqr check -- "")"
expect "zqr get: the archive's members, quoted" 'docs/readme.txt|docs/space\ name.txt' \
  "$(completions_of zqr get a.zqr "")"
expect "zqr get: members by their start" 'docs/space\ name.txt' "$(completions_of zqr get a.zqr docs/s)"
expect "zqr get: a start typed with a quoted space" 'docs/space\ name.txt' \
  "$(completions_of zqr get a.zqr 'docs/space\ n')"
expect "zqr get: a folder or - for standard output" "-|bin|docs|sub" \
  "$(completions_of zqr get a.zqr docs/readme.txt "")"
expect "zqr get: nothing from a file that is no archive" "" "$(completions_of zqr get notes.txt "")"
expect "zqr pack: the name encodings" "gbk|utf-8" "$(completions_of zqr pack --name-encoding "")"
expect "zqr pack: after the encoding, the archive" "B.ZQR|a.zqr|bin|docs|sub" \
  "$(completions_of zqr pack --name-encoding gbk "")"
expect "zqr pack: then any file" "B.ZQR|a.zqr|bin|docs|notes.txt|sub" \
  "$(completions_of zqr pack new.zqr "")"

expect "varnelook: its options" "--|--help|--version" "$(completions_of varnelook -)"
expect "varnelook: folders and archives" "B.ZQR|a.zqr|bin|docs|sub" "$(completions_of varnelook "")"
expect "varnelook: after --, a name starting with -" "" "$(completions_of varnelook -- -)"
expect "varnelook: one folder or archive at most" "" "$(completions_of varnelook a.zqr "")"

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"; exit 1
fi
echo "completions answer as expected"
