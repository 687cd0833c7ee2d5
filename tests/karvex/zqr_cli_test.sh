#!/usr/bin/env bash
# The zqr command end to end: pack, list, get, check, and one-line errors with non-zero exit
# codes for bad input. Everything happens in a temporary folder.
set -uo pipefail
zqr=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0

expect() { # expect DESCRIPTION EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}

mkdir -p docs/章节
printf 'plain text\n' > docs/readme.txt
printf '<p>第一章</p>\n' > docs/章节/一.html

"$zqr" pack utf8.zqr docs; expect "pack exits 0" 0 $?
"$zqr" pack --name-encoding gbk gbk.zqr docs; expect "pack gbk exits 0" 0 $?
expect "list shows the names" "docs/readme.txt|docs/章节/一.html" "$("$zqr" list utf8.zqr | paste -sd'|')"
expect "gbk list shows the same names" "$("$zqr" list utf8.zqr)" "$("$zqr" list gbk.zqr)"
detail=$("$zqr" list -l utf8.zqr | head -1)
expect "list -l shows size, packed size, date and name" 1 \
  "$(printf '%s\n' "$detail" | grep -cE '^ +11 +[0-9]+  [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}  docs/readme.txt$')"
expect "--version names the inflater" 1 "$("$zqr" --version | grep -cE '^zqr [0-9.]+ \(deflate: [a-z-]+\)$')"
expect "check passes a sound archive" 0 "$("$zqr" check gbk.zqr >/dev/null; echo $?)"

mkdir out
"$zqr" get gbk.zqr "docs/章节/一.html" out; expect "get exits 0" 0 $?
expect "get writes the member" "$(cat docs/章节/一.html)" "$(cat out/docs/章节/一.html)"

err=$("$zqr" get gbk.zqr "docs/章节/一.html" out 2>&1 >/dev/null); rc=$?
expect "get refuses to overwrite" 1 $rc
expect "one-line error" "zqr: get: docs/章节/一.html: a file already exists at the save path" "$err"

head -c 100 utf8.zqr > cut.zqr
err=$("$zqr" list cut.zqr 2>&1 >/dev/null); expect "list of a cut file fails" 1 $?
expect "list error is one line" 1 "$(printf '%s\n' "$err" | wc -l)"

# A member whose data does not match its CRC: flip a byte of the stored text.
printf 'hello hello hello' > h.txt
zip -q -0 crc.zqr h.txt
python3 - <<'PY'
data = bytearray(open("crc.zqr", "rb").read())
at = data.find(b"hello hello")
data[at] ^= 1
open("crc.zqr", "wb").write(data)
PY
report=$("$zqr" check crc.zqr); rc=$?
expect "check fails a damaged archive" 1 $rc
expect "check says why" "h.txt: cannot be opened: member data fails its CRC check" "$report"

"$zqr" pack utf8.zqr docs 2>/dev/null; expect "pack refuses an existing archive" 1 $?
"$zqr" frobnicate 2>/dev/null; expect "unknown command is a usage error" 2 $?
"$zqr" list 2>/dev/null; expect "missing argument is a usage error" 2 $?
"$zqr" pack --name-encoding latin1 x.zqr docs 2>/dev/null; expect "bad encoding is a usage error" 2 $?

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"; exit 1
fi
echo "all zqr checks passed"
