#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine (dialogs under Xvfb).
set -euo pipefail
cd "$(dirname "$0")"
bash cmake/setup-machine.sh --with-wine

# The deliverables themselves, 32-bit, with their export and import checks.
cmake --preset i686 -DBRISK_BUILD_TESTS=OFF >/dev/null
cmake --build --preset i686
bash cmake/check-deliverables.sh build/i686/bin

# The platform-free core built natively under the sanitizers, and a bounded fuzz run.
bash cmake/run-native-checks.sh

# Everything that starts Wine runs inside one virtual X server, so dialogs work and
# Wine's desktop process never starts without a display.
exec xvfb-run -a -s "-screen 0 1024x768x24" bash cmake/run-tests.sh "$@"
