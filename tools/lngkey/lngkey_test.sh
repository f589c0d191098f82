#!/usr/bin/env bash
# lngkey_test.sh LNGKEY SOURCE_DIR: the key tool's command line, its errors and exit
# statuses, and its template, whose every key is checked against an independent CRC-32
# (Python's zlib) of the kind, the dialog and the quoted source text.
set -u
tool=$1
src=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

expect_key() {   # expected-key args...
  local expected=$1; shift
  local got
  got=$("$tool" "$@" 2>/dev/null)
  [ "$?" = 0 ] && [ "$got" = "$expected" ] || fail "lngkey $* gave '$got', expected $expected"
}
expect_status() {   # status stderr-pattern args...
  local status=$1 pattern=$2; shift 2
  local err
  err=$("$tool" "$@" 2>&1 >/dev/null)
  local got=$?
  [ "$got" = "$status" ] || fail "lngkey $* exited $got, expected $status"
  echo "$err" | grep -q -- "$pattern" || fail "lngkey $* said '$err', expected /$pattern/"
}

expect_key 9b889d24 '$' SETUPDLG ''
expect_key 50a17ae8 '$' LTR LTR
expect_key 50a17ae8 dialog LTR LTR
expect_key 0003291a s 317
expect_key 62c31a00 s '卸载 Zelkor'
expect_key 62c31a00 --codepage 936 s '卸载 Zelkor'
expect_key 62c31a00 s --codepage=936 '卸载 Zelkor'
expect_key "$(python3 -c "import zlib; print('%08x' % zlib.crc32(b's\xe9t\xe9'))")" --codepage 1252 s 'été'
expect_key "$(python3 -c "import zlib; print('%08x' % zlib.crc32('s卸载'.encode()))")" -c 65001 s '卸载'
expect_key "$(python3 -c "import zlib; print('%08x' % zlib.crc32(b's-x'))")" s -- -x

expect_status 2 'unknown kind "x"' x text
expect_status 2 'KIND \[CONTEXT\] TEXT expected' s
expect_status 2 'KIND \[CONTEXT\] TEXT expected' '$' a b c
expect_status 2 'code page number' --codepage abc s text
expect_status 2 'unknown option --bogus' --bogus s text
expect_status 2 'nothing to do'
expect_status 1 'cannot be represented in code page 1252' --codepage 1252 s '卸载'
expect_status 1 'unknown code page 12345' --codepage 12345 s text
expect_status 1 'not valid UTF-8' s "$(printf 'a\xffb')"
expect_status 1 'cannot read' template --res /nonexistent
expect_status 1 'cannot be represented in code page 1252' template --codepage 1252
"$tool" --help | grep -q 'usage: lngkey' || fail "--help shows no usage"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$tool" template -o "$work/uninstall.lng" || fail "template -o exited $?"
"$tool" template > "$work/stdout.lng" || fail "template exited $?"
cmp -s "$work/uninstall.lng" "$work/stdout.lng" || fail "template differs between -o and the standard output"

python3 - "$work/uninstall.lng" "$src" <<'PY' || failures=$((failures + 1))
import re, sys, zlib
data = open(sys.argv[1], 'rb').read()
lines = data.split(b'\r\n')
problems = []
if data.count(b'***messages**') != 1 or b'***messages***' not in lines:
    problems.append('the marker line must appear exactly once, as a line of its own')
if b'\n' in data.replace(b'\r\n', b''):
    problems.append('bare line feeds in the template')
context, entries, pending_comment = '', {}, False
for line in lines[lines.index(b'***messages***') + 1:]:
    m = re.match(rb'; ---- Dialog (\S+) ----$', line)
    if m:
        context = m.group(1).decode()
    if line.startswith(b';'):
        pending_comment = True
        continue
    m = re.match(rb'([0-9a-f]{8})="(.*)"$', line)
    if not m:
        if line:
            problems.append('unexpected line %r' % line)
        continue
    if not pending_comment:
        problems.append('entry without a comment line: %r' % line)
    pending_comment = False
    value = re.sub(rb'\\(["\\nrt])', lambda e: {b'"': b'"', b'\\': b'\\', b'n': b'\n', b'r': b'\r', b't': b'\t'}[e.group(1)], m.group(2))
    prefix = b'$' + context.encode() if context else b's'
    key = '%08x' % zlib.crc32(prefix + value)
    if key != m.group(1).decode():
        problems.append('key %s of %r in %s should be %s' % (m.group(1).decode(), value, context or 'messages', key))
    entries[(context, value)] = key
strings = open(sys.argv[2] + '/res/strings.rc', encoding='utf-8').read()
for text in re.findall(r'^\s*IDS_\w+\s+"(.*)"\s*$', strings, re.M):
    if ('', text.encode('gbk')) not in entries:
        problems.append('message %r is missing' % text)
dialogs = open(sys.argv[2] + '/res/dialogs.rc', encoding='utf-8').read()
for name, body in re.findall(r'^(\w+) DIALOG(?:EX)?\b(.*?)^END', dialogs, re.M | re.S):
    for text in re.findall(r'(?:CAPTION|CONTROL|[LRC]TEXT|PUSHBUTTON|DEFPUSHBUTTON|GROUPBOX|AUTOCHECKBOX|CHECKBOX)\s+"((?:[^"\\]|\\.)+)"', body):
        text = text.replace('\\\\', '\\').replace('\\n', '\n')
        if (name, text.encode('gbk')) not in entries:
            problems.append('%s text %r is missing' % (name, text))
english = sys.argv[2] + '/lang/en/uninstall.lng'
try:
    for key in re.findall(rb'^([0-9a-f]{8})=', open(english, 'rb').read(), re.M):
        if key.decode() not in entries.values() and key not in data:
            problems.append('key %s of the English pack is not in the template' % key.decode())
except FileNotFoundError:
    pass
for p in problems:
    print('FAIL:', p)
print('template: %d entries checked' % len(entries))
sys.exit(1 if problems else 0)
PY

[ "$failures" = 0 ] && echo "lngkey: all checks passed" || echo "lngkey: $failures failure(s)"
[ "$failures" = 0 ]
