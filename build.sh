#!/usr/bin/env bash
# Builds both sets of deliverables into dist/, the 32-bit set (BriskImp.spi,
# BriskArc.spi, briskspi.dll, spilist, spihost, foreachline, briskbridge64) and the
# 64-bit set (BriskImp.sph, BriskArc.sph, briskspi64.dll, spilist64, spihost64,
# briskbridge32), with a release zip, then runs the demo under Wine (leave it out with --no-demo).
set -euo pipefail
cd "$(dirname "$0")"
demo=1
[ "${1:-}" = "--no-demo" ] && demo=0
if [ $demo -eq 1 ]; then
  bash cmake/setup-machine.sh --with-wine
else
  bash cmake/setup-machine.sh
fi
rm -rf dist
for arch in i686 x86_64; do
  cmake --preset $arch -DBRISK_BUILD_TESTS=OFF >/dev/null
  cmake --build --preset $arch
  cmake --install build/$arch --prefix dist >/dev/null
done
# The 32-bit set's build folder gets the 64-bit helper, made only now, for the demo.
cmake --build --preset i686
# The one-step catalogue maker for Windows users; kept with CR LF lines in the tree.
cp tools/make-catalogue/make-catalogue.cmd dist/

# The release zip: what dist/ holds and a read-me for Windows users (CR LF lines).
version=$(sed -n 's/^project(BriskSPI VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
release=build/release/BriskSPI-$version
rm -rf build/release
mkdir -p "$release"
cp dist/* "$release/"
sed 's/$/\r/' docs/README-windows.txt >"$release/README.txt"
(cd build/release && cmake -E tar cf "../../dist/BriskSPI-$version.zip" --format=zip "BriskSPI-$version")
echo "dist/:"
ls -l dist

if [ $demo -eq 1 ]; then
  bash samples/demo.sh
fi
