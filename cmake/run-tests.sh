#!/usr/bin/env bash
# The Wine part of the test command; test.sh runs it inside Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
source cmake/wine-env.sh
brisk_start_wineserver
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

if brisk_can_run_32bit; then
  arch=i686
  cmake --preset i686 -DBRISK_BUILD_TESTS=ON -DBRISK_WINE=/usr/lib/wine/wine >/dev/null
else
  # This kernel runs no 32-bit programs, so 32-bit Wine cannot start: the same
  # sources are tested as a 64-bit build under wine64.
  echo "note: this kernel cannot run 32-bit programs; testing the 64-bit build of the same sources"
  arch=x86_64
  cmake --preset x86_64 >/dev/null
fi
cmake --build --preset "$arch"
# Wine now and then drops a starting program's connection to its server ("wine
# client error"), failing a test before its first line runs; such a test gets one
# more run. A test that fails twice fails the suite.
ctest --preset "$arch" -j2 --repeat until-pass:2 "$@"
