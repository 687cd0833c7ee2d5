#!/usr/bin/env bash
# The zqr command end to end: pack, list, get, check, and one-line errors with non-zero exit
# codes for bad input. Everything happens in a temporary folder.
set -uo pipefail
zqr=$1
shim=${2:-}    # the O_TMPFILE-refusing preload library
version=${3:?} # the project's version, which --version must give
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
detail=$("$zqr" list -l utf8.zqr | sed -n 3p)
expect "list -l shows size, packed size, date and name" 1 \
  "$(printf '%s\n' "$detail" | grep -cE '^ +11 +[0-9]+  [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}  docs/readme.txt$')"
expect "--version gives the project's version and names the inflater" "zqr $version (deflate: …)" \
  "$("$zqr" --version | sed -E 's/\(deflate: [a-z-]+\)$/(deflate: …)/')"
expect "check passes a sound archive" 0 "$("$zqr" check gbk.zqr >/dev/null; echo $?)"

mkdir out
"$zqr" get gbk.zqr "docs/章节/一.html" out; expect "get exits 0" 0 $?
expect "get writes the member" "$(cat docs/章节/一.html)" "$(cat out/docs/章节/一.html)"

err=$("$zqr" get gbk.zqr "docs/章节/一.html" out 2>&1 >/dev/null); rc=$?
expect "get refuses to overwrite" 1 $rc
expect "one-line error" "zqr: get: docs/章节/一.html: a file already exists at the save path" "$err"

# Each command's own help, on standard output, exit 0: never taken as an archive's name.
for command in list get check pack; do
  help=$("$zqr" $command --help); rc=$?
  expect "$command --help exits 0 with its usage" "0 usage: zqr $command" "$rc $(printf '%s\n' "$help" | head -1 | cut -d' ' -f1-3)"
done
expect "list -h is help too" 0 "$("$zqr" list -h >/dev/null; echo $?)"
expect "a member named --help after the archive is a member" \
  "zqr: get: --help: no such member" "$("$zqr" get utf8.zqr --help 2>&1)"

# get to standard output: the member's bytes exactly, nothing written to disk.
before=$(ls -A)
"$zqr" get gbk.zqr "docs/章节/一.html" - > stdout.bin; expect "get to - exits 0" 0 $?
expect "get to - writes the member's bytes" "same" "$(cmp -s stdout.bin docs/章节/一.html && echo same)"
expect "get to - writes no file" "$before|stdout.bin" "$(ls -A | grep -v '^stdout.bin$')|stdout.bin"
rm stdout.bin


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
err=$("$zqr" get crc.zqr h.txt - 2>&1 >crc-out.bin); rc=$?
expect "get to -: a CRC failure exits 1 and says the bytes out are not the member's" \
  "1 zqr: get: h.txt: member data fails its CRC check; the 17 bytes already written to standard output are not the member's true data" \
  "$rc $err"
rm -f crc-out.bin
report=$("$zqr" check crc.zqr); rc=$?
expect "check fails a damaged archive" 1 $rc
expect "check says why" "h.txt: cannot be opened: member data fails its CRC check" "$report"

# Two end records, the second hidden in the first one's comment, pointing at two directories:
# the list must never show one member while get writes another's bytes. Refused as a whole.
python3 - <<'PY'
import struct, zlib
def lh(n,d): return struct.pack("<IHHHHHIIIHH",0x04034B50,20,0,0,0,0x21,zlib.crc32(d),len(d),len(d),len(n),0)+n
def ch(n,d,o): return struct.pack("<IHHHHHHIIIHHHHHII",0x02014B50,0x314,20,0,0,0,0x21,zlib.crc32(d),len(d),len(d),len(n),0,0,0,0,0,o)+n
def eocd(c,s,o,cm=b""): return struct.pack("<IHHHHIIH",0x06054B50,0,0,c,c,s,o,len(cm))+cm
A=(b"readme.txt",b"harmless text\n"); B=(b"payload.exe",b"MZ not what the list promised\n")
body=lh(*A)+A[1]; ob=len(body); body+=lh(*B)+B[1]
ca=ch(*A,0); cb=ch(*B,ob); oa=len(body); body+=ca; obc=len(body); body+=cb
open("two-directories.zqr","wb").write(body+eocd(1,len(cb),obc,eocd(1,len(ca),oa)))
PY
mkdir two
expect "two directories: list refuses" 1 "$("$zqr" list two-directories.zqr >/dev/null 2>&1; echo $?)"
expect "two directories: check refuses" 1 "$("$zqr" check two-directories.zqr >/dev/null 2>&1; echo $?)"
expect "two directories: get refuses" 1 "$("$zqr" get two-directories.zqr readme.txt two 2>/dev/null; echo $?)"
expect "two directories: nothing written" "" "$(ls -A two)"

# Every compression method the library reads, each made by another program: Python's zipfile
# (stored, deflate, bzip2, LZMA), and xz and Zstandard streams from their own tools.
head -c 300000 /dev/urandom | base64 > text.txt
python3 - <<'PY'
import lzma, struct, subprocess, zipfile, zlib
data = open("text.txt", "rb").read()
with zipfile.ZipFile("methods.zqr", "w") as z:
    for name, method in [("stored.txt", zipfile.ZIP_STORED), ("deflate.txt", zipfile.ZIP_DEFLATED),
                         ("bzip2.txt", zipfile.ZIP_BZIP2), ("lzma.txt", zipfile.ZIP_LZMA)]:
        z.write("text.txt", name, compress_type=method)
entries = [(b"xz.txt", 95, lzma.compress(data, format=lzma.FORMAT_XZ)),
           (b"zstd.txt", 93, subprocess.run(["zstd", "-q", "-c"], input=data, check=True,
                                             capture_output=True).stdout)]
body, directory = b"", b""
for name, method, packed in entries:
    fields = (63, 0, method, 0, 0x5A21, zlib.crc32(data), len(packed), len(data), len(name), 0)
    directory += struct.pack("<IH", 0x02014B50, 0x31E) + struct.pack("<HHHHHIIIHH", *fields) + \
        struct.pack("<HHHII", 0, 0, 0, 0, len(body)) + name
    body += struct.pack("<I", 0x04034B50) + struct.pack("<HHHHHIIIHH", *fields) + name + packed
end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, 2, 2, len(directory), len(body), 0)
open("more-methods.zqr", "wb").write(body + directory + end)
PY
mkdir methods
for member in stored.txt deflate.txt bzip2.txt lzma.txt; do
  "$zqr" get methods.zqr "$member" methods
  expect "$member unpacks" "$(md5sum < text.txt)" "$(md5sum < "methods/$member")"
done
for member in xz.txt zstd.txt; do
  "$zqr" get more-methods.zqr "$member" methods
  expect "$member unpacks" "$(md5sum < text.txt)" "$(md5sum < "methods/$member")"
done
# 7-Zip's own LZMA, asked to leave out the end marker Python writes (the 7-Zip of this machine
# does), and its bzip2.
7zz a -tzip -mm=LZMA -m0=LZMA:eos=off seven.zqr text.txt >/dev/null
cp text.txt bzip2.txt && 7zz a -tzip -mm=BZip2 seven.zqr bzip2.txt >/dev/null
expect "get to -: a deflated member is the same bytes" "$(md5sum < text.txt)" \
  "$("$zqr" get methods.zqr deflate.txt - | md5sum)"
mkdir seven
"$zqr" get seven.zqr text.txt seven && "$zqr" get seven.zqr bzip2.txt seven
expect "7-Zip's LZMA unpacks" "$(md5sum < text.txt)" "$(md5sum < seven/text.txt)"
expect "7-Zip's bzip2 unpacks" "$(md5sum < text.txt)" "$(md5sum < seven/bzip2.txt)"
expect "check reads every method" 0 "$("$zqr" check methods.zqr >/dev/null; "$zqr" check more-methods.zqr >/dev/null; echo $?)"

# Each refusal names its true cause, and a stored time is shown as stored. The members: xz
# streams back to back (read), an xz dictionary and a Zstandard window over the decoder memory
# limit, a cut LZMA stream, local headers naming other files, an encrypted member of a method the
# library cannot read, and a time Berlin's clocks skipped (2025-03-30 02:30).
python3 - <<'PY'
import struct, subprocess, zlib
def tool(*args, data):
    return subprocess.run(args, input=data, check=True, capture_output=True).stdout
text = open("text.txt", "rb").read()
half = len(text) // 2
alone = tool("xz", "-c", "--format=lzma", data=text)
members = [(b"both.txt", b"both.txt", 95, 0, 0, text,
            tool("xz", "-c", data=text[:half]) + bytes(4) + tool("xz", "-c", data=text[half:])),
           (b"dict.txt", b"dict.txt", 95, 0, 0, text,
            tool("xz", "-c", "--lzma2=dict=1536MiB", data=text)),
           (b"window.txt", b"window.txt", 93, 0, 0, text,
            tool("zstd", "-q", "-c", "--long=30", data=text)),
           (b"cut.txt", b"cut.txt", 14, 0, 0, text, b"\x09\x14\x05\x00" + alone[:5] + alone[13:-99]),
           (b"a.txt", b"evil.sh", 0, 0, 0, b"x", b"x"), (b"b.txt", b"../b.txt", 0, 0, 0, b"x", b"x"),
           (b"sealed.txt", b"sealed.txt", 98, 1, 0, b"s" * 9, b"\x5a" * 9),
           (b"spring.txt", b"spring.txt", 0, 0, 2 << 11 | 30 << 5, b"x", b"x")]
body, directory = b"", b""
for name, local, method, flags, time, data, packed in members:
    date = 45 << 9 | 3 << 5 | 30 if name == b"spring.txt" else 0x5A21
    fields = (20, flags, method, time, date, zlib.crc32(data), len(packed), len(data))
    directory += struct.pack("<IH", 0x02014B50, 0x31E) + struct.pack("<HHHHHIII", *fields) + \
        struct.pack("<HHHHHII", len(name), 0, 0, 0, 0, 0, len(body)) + name
    body += struct.pack("<I", 0x04034B50) + struct.pack("<HHHHHIII", *fields) + \
        struct.pack("<HH", len(local), 0) + local + packed
end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(members), len(members), len(directory),
                  len(body), 0)
open("causes.zqr", "wb").write(body + directory + end)
PY
expect "check names each true cause" \
  "dict.txt: cannot be opened: member needs 1.5 GiB of decoder memory, more than the 512 MiB the library allows|window.txt: cannot be opened: member needs 1 GiB of decoder memory, more than the 512 MiB the library allows|cut.txt: cannot be opened: member data is damaged|a.txt: cannot be opened: the member's local header names another file than its central record|b.txt: cannot be opened: the member's local header names another file than its central record|sealed.txt: not listed: is encrypted, and compressed with method 98, which this library cannot read" \
  "$("$zqr" check causes.zqr | paste -sd'|')"
mkdir causes
"$zqr" get causes.zqr both.txt causes
expect "xz streams back to back unpack whole" "$(md5sum < text.txt)" "$(md5sum < causes/both.txt)"
expect "get says how much memory" \
  "zqr: get: window.txt: member needs 1 GiB of decoder memory, more than the 512 MiB the library allows" \
  "$("$zqr" get causes.zqr window.txt causes 2>&1)"
err=$("$zqr" get causes.zqr window.txt - 2>&1 >window.out); rc=$?
expect "get to -: the decoder memory limit holds, nothing written" \
  "1 zqr: get: window.txt: member needs 1 GiB of decoder memory, more than the 512 MiB the library allows|0" \
  "$rc $err|$(wc -c < window.out)"
expect "get says encrypted first" "zqr: get: sealed.txt: member is encrypted" \
  "$("$zqr" get causes.zqr sealed.txt causes 2>&1)"
expect "list -l shows the time as stored" 1 \
  "$(TZ=Europe/Berlin "$zqr" list -l causes.zqr 2>/dev/null | grep -c ' 2025-03-30 02:30  spring.txt$')"

# One member the library cannot read costs only itself, and check names it and says why.
python3 - <<'PY'
import zipfile
with zipfile.ZipFile("one-bad.zqr", "w") as z:
    z.writestr("good.txt", "good")
    z.writestr("bad.bin", "bad")
    z.writestr("docs/" + "x" * 256 + ".txt", "long")
data = bytearray(open("one-bad.zqr", "rb").read())
record = data.find(b"PK\x01\x02", data.find(b"PK\x01\x02") + 4)
data[record + 10:record + 12] = (99).to_bytes(2, "little")  # AES, without its extra field
open("one-bad.zqr", "wb").write(data)
PY
expect "one bad record: the others list" "good.txt" "$("$zqr" list one-bad.zqr 2>/dev/null)"
expect "one bad record: check names it and says why" \
  "bad.bin: not listed: its central record is marked encrypted without the record that describes its encryption|docs/$(printf 'x%.0s' $(seq 256)).txt: not listed: name is too long for the file system (a part over 255 bytes, or over 4095 in all)" \
  "$("$zqr" check one-bad.zqr | paste -sd'|')"

# Twenty thousand members, far past the viewer's old 100,000-byte list: all are listed.
python3 - <<'PY'
import zipfile
with zipfile.ZipFile("many.zqr", "w") as z:
    for i in range(20000):
        z.writestr("member-%05d.txt" % i, "")
PY
expect "list prints every member" 20000 "$("$zqr" list many.zqr | wc -l)"

# The forms of list for scripts, on one archive of awkward names: --json (one object a line,
# names exact, left-out members with their reason) agrees with list -l row by row; -0 ends each
# name with a NUL; list -l has a header line and a totals line.
python3 -W ignore - <<'PY'
import zipfile
with zipfile.ZipFile("names.zqr", "w") as z:
    z.writestr(zipfile.ZipInfo('say "hi".txt', (2025, 3, 30, 2, 30, 0)), "x" * 1000,
               compress_type=zipfile.ZIP_DEFLATED)
    z.writestr("space and 中文.txt", "stored as it is")
    z.writestr("tab\tname.txt", "left out: a control character")
    z.writestr("../out.txt", "left out: out of the folder")
    z.writestr("folder/", "")
    z.writestr("space and 中文.txt", "a second entry of the same name")
    z.writestr("empty.txt", "")
data = bytearray(open("names.zqr", "rb").read())
# A name that is neither UTF-8 nor GB18030 (no UTF-8 flag): left out as undecodable.
at = data.find(b"empty.txt")
while at >= 0:
    data[at:at + 2] = b"\xff\x80"
    at = data.find(b"empty.txt", at + 1)
open("names.zqr", "wb").write(data)
with zipfile.ZipFile("none.zqr", "w") as z:
    z.writestr("../only-out.txt", "left out")
PY
"$zqr" list --json names.zqr > names.json 2>/dev/null; expect "list --json exits 0" 0 $?
"$zqr" list -l names.zqr > names.l 2>/dev/null
"$zqr" list -0 names.zqr > names.0 2>/dev/null
cat > agree.py <<'PY'
import json, zlib
problems = []
def want(what, expected, actual):
    if expected != actual:
        problems.append("%s: expected %r, got %r" % (what, expected, actual))
lines = open("names.json", "rb").read().split(b"\n")
want("JSON Lines end with a newline", b"", lines[-1])
rows = [json.loads(line) for line in lines[:-1]]
want("one object per member, the folder left out", 6, len(rows))
by_name = {row["name"]: row for row in rows}
quoted = by_name.get('say "hi".txt', {})
want("size", 1000, quoted.get("size"))
want("method", [8, "deflate"], [quoted.get("method"), quoted.get("method_name")])
want("crc32", "%08x" % zlib.crc32(b"x" * 1000), quoted.get("crc32"))
want("the stored time in ISO 8601", "2025-03-30T02:30:00", quoted.get("modified"))
want("a listed member has no reason", None, quoted.get("left_out"))
want("a control character in a name, exact", "name holds a control character",
     by_name.get("tab\tname.txt", {}).get("left_out"))
want("the reason for a name out of the folder", 'name has a ".." component',
     by_name.get("../out.txt", {}).get("left_out"))
want("the second entry of a name", ["the same name occurs earlier in the archive", 31],
     [rows[4].get("left_out"), rows[4].get("size")] if len(rows) > 4 else None)
undecodable = [row for row in rows if "name_hex" in row]
want("an undecodable name byte for byte, and left out", [["ff807074792e747874", True]],
     [[row["name_hex"], row["left_out"] is not None] for row in undecodable])
listed = [row for row in rows if row.get("left_out") is None]
text = open("names.l", encoding="utf-8").read().split("\n")
want("-l header", ["        Size       Packed  Date              Name",
                   "------------ ------------  ----------------  ----"], text[:2])
want("-l rows match the JSON",
     ["%12d %12d  %s  %s" % (r["size"], r["packed_size"], r["modified"][:16].replace("T", " "),
                             r["name"]) for r in listed], text[2:-3])
size = sum(r["size"] for r in listed)
packed = sum(r["packed_size"] for r in listed)
ratio = "%.0f%% saved" % (100 - 100 * packed / size) if size else ""
want("-l totals", ["------------ ------------  ----------------  ----",
                   "%12d %12d  %-16s  %d members" % (size, packed, ratio, len(listed)), ""],
     text[-3:])
want("two members listed", 2, len(listed))
want("-0 ends every listed name with a NUL",
     [r["name"].encode() for r in listed] + [b""], open("names.0", "rb").read().split(b"\0"))
print("\n".join(problems))
PY
expect "--json, -l and -0 agree" "" "$(python3 agree.py)"
expect "-0 feeds xargs -0" "$("$zqr" list names.zqr 2>/dev/null)" \
  "$("$zqr" list -0 names.zqr 2>/dev/null | xargs -0 printf '%s\n')"
expect "-l of an empty list: no ratio, 0 members" \
  "------------ ------------  ----------------  ----|           0            0                    0 members" \
  "$("$zqr" list -l none.zqr 2>/dev/null | tail -2 | paste -sd'|')"
"$zqr" list -l --json names.zqr 2>/dev/null; expect "list forms exclude each other" 2 $?

# Counts read as a person writes them: one member, two members.
expect "two left out: plural" "zqr: list: one-bad.zqr: 2 members left out (zqr check says why)" \
  "$("$zqr" list one-bad.zqr 2>&1 >/dev/null)"
python3 - <<'PY'
import zipfile
with zipfile.ZipFile("one-out.zqr", "w") as z:
    z.writestr("good.txt", "good")
    z.writestr("../outside.txt", "out of the folder")
with zipfile.ZipFile("single.zqr", "w") as z:
    z.writestr("only.txt", "alone")
PY
expect "one left out: singular" "zqr: list: one-out.zqr: 1 member left out (zqr check says why)" \
  "$("$zqr" list one-out.zqr 2>&1 >/dev/null)"
expect "check counts one member in the singular" "single.zqr: 1 member, listed and readable" \
  "$("$zqr" check single.zqr)"

# Output that cannot be written is a failure, said in one line, for every command that prints.
for command in "list single.zqr" "list -l single.zqr" "check single.zqr" "check crc.zqr" \
  "list many.zqr" "--version" "--help" "list --json single.zqr" "list -0 many.zqr" \
  "get single.zqr only.txt -" "list --help"; do
  # shellcheck disable=SC2086
  err=$("$zqr" $command 2>&1 >/dev/full); rc=$?
  expect "$command > /dev/full exits 1" 1 $rc
  expect "$command > /dev/full says why" "zqr: cannot write the output: No space left on device" "$err"
done
err=$("$zqr" list single.zqr 2>&1 >&-); rc=$?
expect "list with standard output closed exits 1" "1 zqr: cannot write the output: Bad file descriptor" "$rc $err"

# Archives other readers take as they are: 70,000 members as zipfile writes them but without its
# ZIP64 records (the count capped at 65,535, as older writers leave it); a comment cut short; a
# directory offset that is wrong while the directory sits right before the end record.
python3 - <<'PY'
import struct, zipfile
with zipfile.ZipFile("capped.zqr", "w") as z:
    for i in range(70000):
        z.writestr("m%05d" % i, "")
data = open("capped.zqr", "rb").read()
zip64 = data.rfind(b"PK\x06\x06")
end = data[data.rfind(b"PK\x05\x06"):]
assert struct.unpack("<H", end[10:12])[0] == 0xFFFF and zip64 > 0
open("capped.zqr", "wb").write(data[:zip64] + end)
with zipfile.ZipFile("two.zqr", "w") as z:
    z.writestr("a.txt", "first")
    z.writestr("b.txt", "second")
data = bytearray(open("two.zqr", "rb").read())
data[-6:-2] = struct.pack("<I", 7)  # the directory's offset
open("offset.zqr", "wb").write(data)
data[-6:-2] = struct.pack("<I", data.find(b"PK\x01\x02"))
data[-2:] = struct.pack("<H", 100)
open("comment.zqr", "wb").write(data + b"cut after 20 bytes..")
PY
expect "65,535 capped: every member listed" 70000 "$("$zqr" list capped.zqr | wc -l)"
report=$("$zqr" check capped.zqr); rc=$?
expect "65,535 capped: check finds nothing unusual" \
  "capped.zqr: 70000 members, all listed and readable|0" "$report|$rc"
expect "wrong offset: both members listed" "a.txt|b.txt" "$("$zqr" list offset.zqr | paste -sd'|')"
mkdir offset && "$zqr" get offset.zqr b.txt offset
expect "wrong offset: the member unpacks" second "$(cat offset/b.txt)"
report=$("$zqr" check offset.zqr); rc=$?
expect "wrong offset: check notes the correction" \
  "offset.zqr: the end record puts the central directory at offset 7; it was read at offset 81, right before the end record|offset.zqr: 2 members, all listed and readable|1" \
  "$(printf '%s\n' "$report" | paste -sd'|')|$rc"
expect "cut comment: both members listed" "a.txt|b.txt" "$("$zqr" list comment.zqr | paste -sd'|')"
report=$("$zqr" check comment.zqr); rc=$?
expect "cut comment: check reports it" \
  "comment.zqr: the archive comment is cut short: 20 of its 100 bytes are there (the file may be incomplete)|comment.zqr: 2 members, all listed and readable|1" \
  "$(printf '%s\n' "$report" | paste -sd'|')|$rc"

# An empty folder is refused, not taken as "/".
leaf="zqr-cli-test-$$.txt"
printf 'x' > "$leaf"
"$zqr" pack root.zqr "$leaf"
rm "$leaf"
"$zqr" get root.zqr "$leaf" "" 2>/dev/null; expect "get into an empty folder is a usage error" 2 $?
expect "nothing written at the root" 0 "$(ls "/$leaf" 2>/dev/null | wc -l)"
rm -f "/$leaf"

# A refused name is printed escaped: no terminal escape reaches the screen.
printf 'x' > "$(printf 'evil\033[2Jname.txt')"
err=$("$zqr" pack evil.zqr "$(printf 'evil\033[2Jname.txt')" 2>&1)
expect "pack prints a refused name escaped" 'zqr: pack: name holds a control character: evil\x1B[2Jname.txt' "$err"

"$zqr" pack utf8.zqr docs 2>/dev/null; expect "pack refuses an existing archive" 1 $?
"$zqr" frobnicate 2>/dev/null; expect "unknown command is a usage error" 2 $?
"$zqr" list 2>/dev/null; expect "missing argument is a usage error" 2 $?
"$zqr" pack --name-encoding latin1 x.zqr docs 2>/dev/null; expect "bad encoding is a usage error" 2 $?

# On a file system without unnamed files (the preloaded shim refuses O_TMPFILE, slows writes
# down and plays a small disk) an unpack writes a named part file. Ctrl+C, kill and a closed
# terminal end zqr by that signal and leave nothing; a kill -9 leaves the part, and the next
# unpack into the folder clears it before it counts the free space.
if [ -n "$shim" ]; then
  # A sanitized build's runtime would refuse to start behind a preloaded library.
  export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
  python3 - <<'PY'
import zipfile
with zipfile.ZipFile("big.zqr", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("big.bin", bytes(64 << 20))
PY
  interrupt() { # interrupt SIGNAL FOLDER: the exit status and what is left in FOLDER
    python3 - "$zqr" "$shim" "$1" "$2" <<'PY'
import os, signal, subprocess, sys, time
zqr, shim, name, folder = sys.argv[1:]
os.mkdir(folder)
slow = dict(os.environ, LD_PRELOAD=shim, SHIM_WRITE_DELAY_US="20000")
unpack = subprocess.Popen([zqr, "get", "big.zqr", "big.bin", folder], env=slow)
# Only once the part file holds data is the unpack surely half-way.
for _ in range(2000):
    parts = [f for f in os.listdir(folder) if f.endswith(".part")]
    if parts and os.path.getsize(os.path.join(folder, parts[0])) > 0:
        break
    time.sleep(0.005)
unpack.send_signal(getattr(signal, name))
print(unpack.wait(), " ".join(sorted(os.listdir(folder))))
PY
  }
  expect "SIGINT ends the unpack by that signal and leaves nothing" "-2 " "$(interrupt SIGINT int)"
  expect "SIGTERM ends the unpack by that signal and leaves nothing" "-15 " "$(interrupt SIGTERM term)"
  expect "SIGHUP ends the unpack by that signal and leaves nothing" "-1 " "$(interrupt SIGHUP hup)"
  killed=$(interrupt SIGKILL kill)
  expect "SIGKILL cannot be caught: the part stays" 1 "$(printf '%s\n' "$killed" | grep -cE '^-9 \.karvex-[0-9]+-[0-9a-f]{16}\.part$')"
  # Grown to the member's size, the part leaves too little room on a 100 MiB disk for the
  # member unless it is cleared first; the retry comes at once, as a user's would.
  part=$(ls -A kill)
  truncate -s 64M "kill/$part"
  err=$(LD_PRELOAD=$shim SHIM_DISK_BYTES=$((100 << 20)) "$zqr" get big.zqr big.bin kill 2>&1); rc=$?
  expect "a retry right after a kill -9 clears the stale part, then finds room" "0 " "$rc $err"
  expect "the retry leaves only the member" "big.bin" "$(ls -A kill)"
  expect "the retried member is whole" "$(head -c $((64 << 20)) /dev/zero | md5sum)" "$(md5sum < kill/big.bin)"
  rm -rf int term hup kill big.zqr

  # A member 2,040 folders deep whose data is damaged: the folders made for it go again, with
  # work that grows with the depth (each level opened a few times), not with its square.
  python3 - <<'PY'
import zipfile
with zipfile.ZipFile("deep.zqr", "w") as z:
    z.writestr("d/" * 2040 + "f.txt", "hello hello hello")
data = bytearray(open("deep.zqr", "rb").read())
data[data.find(b"hello hello")] ^= 1
open("deep.zqr", "wb").write(data)
PY
  deep=$(printf 'd/%.0s' $(seq 2040))f.txt
  mkdir deep
  err=$(LD_PRELOAD=$shim SHIM_OPENAT_COUNT="$work/openat-count" "$zqr" get deep.zqr "$deep" deep 2>&1); rc=$?
  expect "damaged deep member: get fails" 1 $rc
  expect "damaged deep member: the name is printed once" 1 "$(printf '%s' "$err" | grep -o 'f\.txt' | wc -l)"
  expect "damaged deep member: its folders are removed" "" "$(ls -A deep)"
  expect "damaged deep member: folder work is linear in the depth" 1 \
    "$(awk '{ print ($1 < 4 * 2040) }' "$work/openat-count")"
  echo "openat calls for the damaged member 2,040 folders deep: $(cat "$work/openat-count")"
else
  echo "FAIL: no O_TMPFILE shim given"; failures=$((failures + 1))
fi

if [ $failures -ne 0 ]; then
  echo "$failures failure(s)"; exit 1
fi
echo "all zqr checks passed"
