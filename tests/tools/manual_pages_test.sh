#!/usr/bin/env bash
# The manual pages and the --help texts name the same options: every option a --help text shows
# (zqr's, each zqr command's, the viewer's) is in its page's OPTIONS section and every option
# there is in a --help text. The pages also format without a warning.
set -uo pipefail
zqr=$1
viewer=$2
pages=$3 # the folder of zqr.1 and varnelook.1
failures=0

expect() { # expect DESCRIPTION EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}

# Options in help texts: the first words of indented option lines ("  -h, --help  ..."), and the
# options a usage line gives right after the program's name ("zqr --version").
help_options() {
  sed -nE -e 's/^  (-[^ ,]*(, -[^ ,]*)*)( .*)?$/\1/p' -e 's/^(usage:)? +[a-z]+ (--[a-z-]+) *( .*)?$/\2/p' |
    tr ',' '\n' | tr -d ' ' | grep -v '^$' | sort -u
}

# Options in a page's OPTIONS section, as man shows it: the tags at the first indent.
page_options() {
  MANWIDTH=100 man -l "$1" 2>/dev/null | col -b |
    sed -n '/^OPTIONS$/,/^[A-Z]/p' | sed -nE 's/^       (-[^ ,]*(, -[^ ,]*)*)( .*)?$/\1/p' |
    tr ',' '\n' | tr -d ' ' | grep -v '^$' | sort -u
}

zqr_help=$(
  "$zqr" --help
  for command in list get check pack; do "$zqr" "$command" --help; done
)
expect "zqr: the same options in --help and the page" "$(printf '%s\n' "$zqr_help" | help_options | paste -sd' ')" \
  "$(page_options "$pages/zqr.1" | paste -sd' ')"
expect "zqr: options found" 7 "$(printf '%s\n' "$zqr_help" | help_options | wc -l)"
expect "varnelook: the same options in --help and the page" \
  "$("$viewer" --help | help_options | paste -sd' ')" "$(page_options "$pages/varnelook.1" | paste -sd' ')"
expect "varnelook: options found" 3 "$("$viewer" --help | help_options | wc -l)"

for page in zqr.1 varnelook.1; do
  expect "$page formats without a warning" "" "$(LC_ALL=C.UTF-8 man --warnings -l "$pages/$page" 2>&1 >/dev/null)"
done

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"; exit 1
fi
echo "manual pages and --help texts agree"
