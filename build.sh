#!/usr/bin/env bash
# Builds the five deliverables (32-bit Windows) into dist/.
set -euo pipefail
cd "$(dirname "$0")"
bash cmake/setup-machine.sh
cmake --preset i686 -DBRISK_BUILD_TESTS=OFF >/dev/null
cmake --build --preset i686
rm -rf dist
cmake --install build/i686 --prefix dist >/dev/null
echo "dist/:"
ls -l dist
