#!/usr/bin/env bash
# Builds the five deliverables (32-bit Windows) into dist/ with spihost and a
# release zip, then runs the demo under Wine (leave it out with --no-demo).
set -euo pipefail
cd "$(dirname "$0")"
demo=1
[ "${1:-}" = "--no-demo" ] && demo=0
if [ $demo -eq 1 ]; then
  bash cmake/setup-machine.sh --with-wine
else
  bash cmake/setup-machine.sh
fi
cmake --preset i686 -DBRISK_BUILD_TESTS=OFF >/dev/null
cmake --build --preset i686
rm -rf dist
cmake --install build/i686 --prefix dist >/dev/null

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
