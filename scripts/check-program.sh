#!/usr/bin/env bash
# check-program.sh EXE ARCH: the program is a GUI executable of the expected machine that
# imports only DLLs every Windows has (no MinGW runtime DLLs).
set -eu
exe=$1 arch=$2
case "$arch" in
  x86_64) objdump=x86_64-w64-mingw32-objdump; want="pei-x86-64" ;;
  *)      objdump=i686-w64-mingw32-objdump;   want="pei-i386" ;;
esac
headers=$("$objdump" -p "$exe")
echo "$headers" | grep -q "file format $want" || { echo "not $want"; exit 1; }
echo "$headers" | grep -Eq "^Subsystem[[:space:]]+00000002" || { echo "not a GUI program"; exit 1; }
allowed=" advapi32.dll comctl32.dll gdi32.dll kernel32.dll ole32.dll oleaut32.dll shell32.dll user32.dll msvcrt.dll "
status=0
for dll in $(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
  case "$allowed" in
    *" ${dll,,} "*) echo "imports $dll" ;;
    *) echo "unexpected import: $dll"; status=1 ;;
  esac
done
echo "$(basename "$exe"): $want GUI, $(stat -c %s "$exe") bytes"
exit $status
