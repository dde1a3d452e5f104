#!/usr/bin/env bash
# The demo: a host's plug-in folder with the two front plug-ins, two sample plug-ins
# kept elsewhere and listed in a catalogue made by spilist, and spihost (a console
# host) opening a picture and an archive through the front plug-ins under Wine.
#
#   bash samples/demo.sh                    build what the demo needs, then run it
#   bash samples/demo.sh BIN WINE [WORK]    run it on built programs in BIN with the
#                                           Wine loader WINE, in WORK (default build/demo)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/cmake/wine-env.sh"

demo_programs=(BriskImp BriskArc briskspi spilist spihost SampleBmp SampleTar make_samples)

if [ $# -ge 2 ]; then
  bin=$(cd "$1" && pwd)
  wine=$2
  work=${3:-$source_dir/build/demo}
else
  # The demo runs the 32-bit build where this machine can run 32-bit programs, and
  # the 64-bit build of the same sources under wine64 where it cannot.
  if brisk_can_run_32bit; then
    build=$source_dir/build/i686
    wine=/usr/lib/wine/wine
    cmake --preset i686 -S "$source_dir" -DBRISK_BUILD_TESTS=OFF >/dev/null
  else
    echo "note: this kernel cannot run 32-bit programs; the demo uses the 64-bit build of the same sources"
    build=$source_dir/build/demo-x86_64
    wine=/usr/lib/wine/wine64
    cmake -S "$source_dir" -B "$build" -G Ninja --toolchain "$source_dir/cmake/toolchain-mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DBRISK_BUILD_TESTS=OFF -DBRISK_WINE=$wine >/dev/null
  fi
  cmake --build "$build" --target "${demo_programs[@]}" | grep -v '^\[' || true
  bin=$build/bin
  work=$source_dir/build/demo
fi

# A wineserver is started only when none runs, kept off our output, and ended only
# if it is ours.
if wineserver -p </dev/null >/dev/null 2>&1; then
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
fi
# Wine's service processes start with the first program; keep them off our output.
"$wine" cmd /c exit </dev/null >/dev/null 2>&1 || true

windows_path() {
  local path=${1//\//\\}
  printf 'Z:%s' "$path"
}

step() {
  echo
  echo "==> $*"
}

# Shows a command as a Windows user would type it, then runs it.
run() {
  local program=$1
  shift
  echo "\$ ${program%.exe} $*"
  "$wine" "$bin/$program" "$@"
}

rm -rf "$work"
mkdir -p "$work"/{host,plugins,files,out}
cd "$work"

step "1. A host's plug-in folder and a separate folder of plug-ins"
cp "$bin"/BriskImp.spi "$bin"/BriskArc.spi "$bin"/briskspi.dll host/
cp "$bin"/SampleBmp.spi "$bin"/SampleTar.spi plugins/
echo "host\\      $(cd host && echo *)   (what the viewer loads)"
echo "plugins\\   $(cd plugins && echo *)   (loaded only when a file needs them)"

step "2. Sample files"
run make_samples.exe files

step "3. The catalogue: spilist asks each plug-in about itself (absolute paths)"
echo "\$ spilist $(windows_path "$work/plugins/SampleBmp.spi") $(windows_path "$work/plugins/SampleTar.spi") > host\\briskspi.txt"
"$wine" "$bin/spilist.exe" "$(windows_path "$work/plugins/SampleBmp.spi")" \
  "$(windows_path "$work/plugins/SampleTar.spi")" >host/briskspi.txt
echo "host\\briskspi.txt:"
tr -d '\r' <host/briskspi.txt | sed 's/^/    /'

step "4. A picture through BriskImp.spi"
run spihost.exe picture 'host\BriskImp.spi' 'files\picture.bmp' 'out\picture.bmp'
cmp -s files/picture.bmp out/picture.bmp
echo "(out\\picture.bmp is byte for byte the original: the picture arrived unchanged)"

step "5. An archive through BriskArc.spi: its entries, then every entry extracted"
run spihost.exe list 'host\BriskArc.spi' 'files\archive.tar'
run spihost.exe extract 'host\BriskArc.spi' 'files\archive.tar' out
grep -q 'Hello from inside a tar archive.' out/hello.txt

step "6. The picture that came out of the archive, through BriskImp.spi again"
run spihost.exe info 'host\BriskImp.spi' 'out\pictures\tiles.bmp'

step "7. A file no catalogued image plug-in reads"
status=0
run spihost.exe info 'host\BriskImp.spi' 'files\archive.tar' 2>&1 || status=$?
if [ $status -ne 4 ]; then
  echo "demo: expected exit status 4 (not accepted), got $status" >&2
  exit 1
fi
echo "(exit status 4: BriskImp.spi found no catalogued image plug-in whose patterns match archive.tar)"

echo
echo "Demo done: each request went to the front plug-in, which passed it to the catalogued plug-in that reads the file."
echo "Files are in $work"
