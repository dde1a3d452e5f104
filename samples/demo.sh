#!/usr/bin/env bash
# The demo: a host's plug-in folder with the two front plug-ins, two sample plug-ins
# kept elsewhere and listed in a catalogue made by spilist, and spihost (a console
# host) opening a picture and an archive through the front plug-ins under Wine.
#
#   bash samples/demo.sh                    build what the demo needs, then run it for
#                                           the 32-bit set and the 64-bit set
#   bash samples/demo.sh BIN WINE [WORK]    run it on one set's built programs in BIN
#                                           with the Wine loader WINE, in WORK (default
#                                           build/demo); the set is the one BIN holds
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
source "$source_dir/cmake/wine-env.sh"

if [ $# -lt 2 ]; then
  # Both sets where this machine runs 32-bit programs; the 64-bit set alone where it
  # cannot.
  demo_programs=(BriskImp BriskArc briskspi spilist spihost SampleBmp SampleTar make_samples briskbridge32 briskbridge64)
  sets=()
  if brisk_can_run_32bit; then
    cmake --preset i686 -S "$source_dir" -DBRISK_BUILD_TESTS=OFF >/dev/null
    cmake --build "$source_dir/build/i686" --target "${demo_programs[@]}" | grep -v '^\[' || true
    sets+=("$source_dir/build/i686/bin /usr/lib/wine/wine $source_dir/build/demo/32-bit")
  else
    echo "note: this kernel cannot run 32-bit programs; the demo shows the 64-bit set alone"
  fi
  cmake --preset x86_64 -S "$source_dir" -DBRISK_BUILD_TESTS=OFF >/dev/null
  cmake --build "$source_dir/build/x86_64" --target "${demo_programs[@]}" | grep -v '^\[' || true
  sets+=("$source_dir/build/x86_64/bin /usr/lib/wine/wine64 $source_dir/build/demo/64-bit")
  for one in "${sets[@]}"; do
    # shellcheck disable=SC2086
    bash "$0" $one
  done
  exit 0
fi

bin=$(cd "$1" && pwd)
wine=$2
work=${3:-$source_dir/build/demo}

# The set's file names: the 64-bit set's plug-ins end in .sph, its library,
# catalogue and tools in 64.
if [ -f "$bin/BriskImp.sph" ]; then
  width=64 ext=sph sfx=64
else
  width=32 ext=spi sfx=
fi
imp=BriskImp.$ext arc=BriskArc.$ext registry=briskspi$sfx.dll catalogue=briskspi$sfx.txt
spilist=spilist$sfx.exe spihost=spihost$sfx.exe bmp=SampleBmp.$ext tar=SampleTar.$ext
echo
echo "######## The $width-bit set: $imp, $arc, $registry, read by a $width-bit host"

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
cp "$bin/$imp" "$bin/$arc" "$bin/$registry" host/
cp "$bin/$bmp" "$bin/$tar" plugins/
echo "host\\      $(cd host && echo *)   (what the viewer loads)"
echo "plugins\\   $(cd plugins && echo *)   (loaded only when a file needs them)"

step "2. Sample files"
run make_samples.exe files

step "3. The catalogue: ${spilist%.exe} asks each plug-in about itself (absolute paths)"
echo "\$ ${spilist%.exe} $(windows_path "$work/plugins/$bmp") $(windows_path "$work/plugins/$tar") > host\\$catalogue"
"$wine" "$bin/$spilist" "$(windows_path "$work/plugins/$bmp")" \
  "$(windows_path "$work/plugins/$tar")" >"host/$catalogue"
echo "host\\$catalogue:"
tr -d '\r' <"host/$catalogue" | sed 's/^/    /'

step "4. A picture through $imp"
run $spihost picture "host\\$imp" 'files\picture.bmp' 'out\picture.bmp'
cmp -s files/picture.bmp out/picture.bmp
echo "(out\\picture.bmp is byte for byte the original: the picture arrived unchanged)"

step "5. An archive through $arc: its entries, then every entry extracted"
run $spihost list "host\\$arc" 'files\archive.tar'
run $spihost extract "host\\$arc" 'files\archive.tar' out
grep -q 'Hello from inside a tar archive.' out/hello.txt

step "6. The picture that came out of the archive, through $imp again"
run $spihost info "host\\$imp" 'out\pictures\tiles.bmp'

step "7. A file no catalogued image plug-in reads"
status=0
run $spihost info "host\\$imp" 'files\archive.tar' 2>&1 || status=$?
if [ $status -ne 4 ]; then
  echo "demo: expected exit status 4 (not accepted), got $status" >&2
  exit 1
fi
echo "(exit status 4: $imp found no catalogued image plug-in whose patterns match archive.tar)"

step "8. Names the ANSI code page cannot write (Chinese characters and an emoji)"
# spihost calls the W entry points of the front plug-ins; they give the name as it
# is to $bmp, which has W entry points, and the file's short name to $tar, which has
# only the ANSI ones. Wine takes the names from a UTF-8 command line.
export LC_ALL=C.UTF-8
cp files/picture.bmp 'files/写真😀.bmp'
cp files/archive.tar 'files/書庫😀.tar'
run $spihost picture "host\\$imp" 'files\写真😀.bmp' 'out\出力😀.bmp'
cmp -s files/picture.bmp 'out/出力😀.bmp'
run $spihost extract "host\\$arc" 'files\書庫😀.tar' 'out\展開😀'
grep -q 'Hello from inside a tar archive.' 'out/展開😀/hello.txt'
echo "(the picture and the archive's entries arrived whole under names no ANSI entry point could be given)"

# The other width's sample plug-ins through the bridge: 32-bit ones for the 64-bit
# host, 64-bit ones (on 64-bit Windows) for the 32-bit host.
if [ $width = 64 ]; then
  other_bin=$source_dir/build/i686/bin other_width=32 other_ext=spi helper=briskbridge32.exe
  other_runs() { brisk_can_run_32bit; }
else
  other_bin=$source_dir/build/x86_64/bin other_width=64 other_ext=sph helper=briskbridge64.exe
  other_runs() { true; }
fi
if [ -f "$bin/$helper" ] && [ -f "$other_bin/SampleBmp.$other_ext" ] && other_runs; then
  step "9. $other_width-bit plug-ins for the $width-bit host: $imp and $arc served through $helper"
  others=plugins$other_width
  mkdir -p host-bridged "$others" out-bridged
  cp "$bin/$imp" "$bin/$arc" "$bin/$registry" "$bin/$helper" host-bridged/
  cp "$other_bin/SampleBmp.$other_ext" "$other_bin/SampleTar.$other_ext" "$others/"
  echo "host-bridged\\   $(cd host-bridged && echo *)"
  echo "$others\\      $(cd "$others" && echo *)   ($other_width-bit plug-ins)"
  echo "\$ $spilist $(windows_path "$work/$others/SampleBmp.$other_ext") $(windows_path "$work/$others/SampleTar.$other_ext") > host-bridged\\$catalogue"
  "$wine" "$bin/$spilist" "$(windows_path "$work/$others/SampleBmp.$other_ext")" \
    "$(windows_path "$work/$others/SampleTar.$other_ext")" >"host-bridged/$catalogue"
  tr -d '\r' <"host-bridged/$catalogue" | sed 's/^/    /'
  run $spihost plugin "$others\\SampleBmp.$other_ext"
  run $spihost picture "host-bridged\\$imp" 'files\picture.bmp' 'out-bridged\picture.bmp'
  cmp -s files/picture.bmp out-bridged/picture.bmp
  run $spihost extract "host-bridged\\$arc" 'files\archive.tar' out-bridged
  grep -q 'Hello from inside a tar archive.' out-bridged/hello.txt
  echo "(the $width-bit host read the picture and the archive through $other_width-bit plug-ins: the same bytes as in-process)"
fi

echo
echo "Demo done: each request went to the front plug-in, which passed it to the catalogued plug-in that reads the file."
echo "Files are in $work"
