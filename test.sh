#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine.
set -euo pipefail
cd "$(dirname "$0")"
bash cmake/setup-machine.sh --with-wine
source cmake/wine-env.sh
brisk_start_wineserver
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

# The deliverables themselves, 32-bit, with their export and import checks.
cmake --preset i686 -DBRISK_BUILD_TESTS=OFF >/dev/null
cmake --build --preset i686
bash cmake/check-deliverables.sh build/i686/bin

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
ctest --preset "$arch" -j2 "$@"
