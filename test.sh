#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine (dialogs under Xvfb), for
# the 32-bit set under 32-bit Wine and the 64-bit set under wine64.
set -euo pipefail
cd "$(dirname "$0")"
bash cmake/setup-machine.sh --with-wine

# The deliverables of both sets, with their width, export and import checks. Each set
# holds the other width's bridge helper, copied when the set is built: the 32-bit set
# is built once more when the 64-bit helper exists.
for arch in i686 x86_64; do
  cmake --preset $arch -DBRISK_BUILD_TESTS=OFF >/dev/null
  cmake --build --preset $arch
done
cmake --build --preset i686
for arch in i686 x86_64; do
  bash cmake/check-deliverables.sh build/$arch/bin
done

# The platform-free core built natively under the sanitizers, and a bounded fuzz run.
bash cmake/run-native-checks.sh

# Everything that starts Wine runs inside one virtual X server, so dialogs work and
# Wine's desktop process never starts without a display.
exec xvfb-run -a -s "-screen 0 1024x768x24" bash cmake/run-tests.sh "$@"
