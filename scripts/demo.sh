#!/usr/bin/env bash
# The main job: builds uninstall.exe, installs a stand-in Zelkor suite into a throwaway Wine
# prefix, runs the setup integration (visible on your display when one is set, silent
# under a private Xvfb otherwise), shows what it took over, then uninstalls for real and
# shows that the previous owners are back and nothing of the suite is left.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"

# The program: the shipped i686 build where this host runs 32-bit code, else the x86-64
# build of the same sources (some virtual machines cannot execute 32-bit code at all).
build() { cmake -S "$root" -B "$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2" -DZELKOR_TESTS=OFF >/dev/null \
          && cmake --build "$1" -j2 --target uninstall integration_demo >/dev/null; }
echo "== building"
build "$root/build/demo-i686" mingw-i686.cmake
bash "$root/scripts/check-program.sh" "$root/build/demo-i686/uninstall.exe" i686 | tail -1
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  bin="$root/build/demo-i686"; loader=wine; arch=win64
else
  echo "(this host cannot execute 32-bit code: running the x86-64 build of the same sources)"
  build "$root/build/demo-x64" mingw-x86_64.cmake
  bin="$root/build/demo-x64"; loader=/usr/lib/wine/wine64; arch=win64
fi

work=$(mktemp -d /tmp/zelkor-demo.XXXXXX)
export WINEPREFIX="$work/prefix" WINEARCH=$arch WINEDEBUG=-all HOME="$work/home"
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d" LC_ALL=zh_CN.UTF-8
mkdir -p "$HOME"
xvfb=""
visible=0
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  visible=1
else
  for n in $(seq 150 199); do [ -e /tmp/.X11-unix/X$n ] || break; done
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 & xvfb=$!
  export DISPLAY=:$n; sleep 1
fi
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

echo "== booting a throwaway Wine prefix in $WINEPREFIX"
unset_display=$DISPLAY; (unset DISPLAY; /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1 || true)
/usr/lib/wine/wineserver -w
for d in "$WINEPREFIX"/drive_c/users/*/*; do [ -L "$d" ] && rm "$d" && mkdir -p "$d"; done
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
# reg.exe prints in the prefix's code page (936 here): shown in UTF-8.
reg() { "$loader" reg "$@" </dev/null 2>/dev/null | iconv -f GB18030 -t UTF-8 | tr -d '\r' | sed -n 's/^    //p'; }
class_of() { reg query "HKCR\\$1" /ve | awk '{print $NF}'; }
"$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1

echo "== every integration choice applied and removed again (integration_demo --seed, from C:\\ZelkorDemo)"
mkdir -p "$WINEPREFIX/drive_c/ZelkorDemo"
cp "$bin/tools/integration_demo/integration_demo.exe" "$WINEPREFIX/drive_c/ZelkorDemo/"
echo "stand-in" >"$WINEPREFIX/drive_c/ZelkorDemo/kpxext.dll"
"$loader" 'C:\ZelkorDemo\integration_demo.exe' --seed </dev/null 2>/dev/null | tr -d '\r'
rm -rf "$WINEPREFIX/drive_c/ZelkorDemo"
"$loader" reg delete 'HKCR\.zip' /f >/dev/null 2>&1; "$loader" reg delete 'HKCR\.jar' /f >/dev/null 2>&1
"$loader" reg delete 'HKCR\.cab' /f >/dev/null 2>&1

echo "== installing a stand-in Zelkor suite into C:\\Program Files\\Zelkor"
dest="$WINEPREFIX/drive_c/Program Files/Zelkor"
mkdir -p "$dest/Skins"
cp "$bin/uninstall.exe" "$dest/uninstall.exe"
for f in Zelkor.exe zelkor.hlp Kpx.txt license.txt order.htm kpxext.dll Skins/default.skn; do echo "stand-in" >"$dest/$f"; done
printf 'Skins\r\nkpxnew.dat\r\nzipnew.dat\r\nZelkor.exe\r\nzelkor.hlp\r\nKpx.txt\r\nlicense.txt\r\norder.htm\r\nkpxext.dll\r\nSkins\\default.skn\r\nuninstall.exe\r\n' >"$dest/Uninstall.lst"
echo "another archiver owns .zip and .cab before setup:"
"$loader" reg add 'HKCR\.zip' /ve /d OtherArc.Zip /f >/dev/null 2>&1
"$loader" reg add 'HKCR\.zip' /v 'Content Type' /d application/x-other-zip /f >/dev/null 2>&1
"$loader" reg add 'HKCR\.cab' /ve /d OtherArc.Cab /f >/dev/null 2>&1
reg query 'HKCR\.zip'; reg query 'HKCR\.cab'

exe='C:\Program Files\Zelkor\uninstall.exe'
if [ $visible = 1 ]; then
  echo "== uninstall.exe /setup on your display: choose and press OK, then Finish"
  "$loader" "$exe" /setup </dev/null
else
  echo "== uninstall.exe /setup /s (no display: the dialogs confirm themselves)"
  "$loader" "$exe" /setup /s </dev/null
fi
echo "== after setup: classes of some extensions"
for ext in .zip .cab .kpx .7z .lzh .k00 .rev; do printf '  %-5s %s\n' "$ext" "$(class_of $ext)"; done
echo "backup of the previous owner of .zip (HKCU\\Software\\Zelkor\\Setup\\.zip):"; reg query 'HKCU\Software\Zelkor\Setup\.zip'
echo "Add/Remove Programs entry:"; reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelkor archiver'
echo "shortcuts:"; (cd "$WINEPREFIX/drive_c" && find users ProgramData -name '*.lnk' 2>/dev/null | sed 's/^/  /')

echo "== uninstall.exe /s (the Add/Remove Programs command, without the question)"
"$loader" "$exe" /s </dev/null
for _ in $(seq 60); do [ -e "$dest" ] || break; sleep 0.5; done
echo "== after the uninstall"
[ -e "$dest" ] && { echo "installation folder still there:"; ls -la "$dest"; } || echo "installation folder: gone (the removal script deleted the program and its folder)"
echo ".zip is back with its previous owner:"; reg query 'HKCR\.zip'
echo ".cab:"; reg query 'HKCR\.cab'
gone() { "$loader" reg query "$1" </dev/null >/dev/null 2>&1 && echo "still there" || echo "gone (it did not exist before setup)"; }
for key in 'HKCR\.kpx' 'HKCR\.k00' 'HKCR\Zelkor' 'HKCR\.rev' 'HKCU\Software\Zelkor' \
           'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelkor archiver'; do
  printf '%s: %s\n' "$key" "$(gone "$key")"
done
echo "shortcuts left:"; (cd "$WINEPREFIX/drive_c" && find users ProgramData -name '*.lnk' 2>/dev/null | sed 's/^/  /'); echo "  (none above means none)"
