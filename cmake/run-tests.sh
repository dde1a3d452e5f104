#!/usr/bin/env bash
# The Wine part of the test command; test.sh runs it inside Xvfb. The whole suite
# runs once per width: the 32-bit build under 32-bit Wine, the 64-bit build under
# wine64. Extra arguments go to both ctest runs.
set -euo pipefail
cd "$(dirname "$0")/.."
source cmake/wine-env.sh
brisk_start_wineserver
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
brisk_wine_fonts

arches=()
if brisk_can_run_32bit; then
  arches+=(i686)
else
  echo "note: this kernel cannot run 32-bit programs; the 32-bit suite is skipped and only the 64-bit build is tested"
fi
arches+=(x86_64)

# Both test builds first: each width's tests use the other width's helper, fakes and
# sample plug-ins.
for arch in "${arches[@]}"; do
  if [ "$arch" = i686 ]; then
    cmake --preset i686 -DBRISK_BUILD_TESTS=ON -DBRISK_WINE=/usr/lib/wine/wine >/dev/null
  else
    cmake --preset x86_64 -DBRISK_BUILD_TESTS=ON >/dev/null
  fi
  cmake --build --preset "$arch"
done
# The first build copied the other width's helper before that build had made it anew.
cmake --build --preset "${arches[0]}" >/dev/null

failed=()
for arch in "${arches[@]}"; do
  echo "== test suite, $arch"
  # Wine now and then drops a starting program's connection to its server ("wine
  # client error"), failing a test before its first line runs; such a test gets one
  # more run. A test that fails twice fails the suite.
  ctest --preset "$arch" -j2 --repeat until-pass:2 "$@" || failed+=("$arch")
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "FAILED: the test suite of ${failed[*]}"
  exit 1
fi
echo "test suite passed: ${arches[*]}"
