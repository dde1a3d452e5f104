#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine and writes docs/BENCHMARKS.md.
#   bash bench/run.sh           the measured run (a few minutes), rewrites docs/BENCHMARKS.md
#   bash bench/run.sh --smoke   tiny counts, a few seconds; writes <build>/BENCHMARKS-smoke.md
# Runs the 32-bit build where this machine runs 32-bit programs, else the 64-bit one.
# The programs run in a Wine prefix of their own inside the build folder, with a
# wineserver of their own that this script starts and ends, so other Wine programs
# on the machine neither share its server nor lose theirs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
smoke=""
[ "${1:-}" = "--smoke" ] && smoke="--smoke"

bash cmake/setup-machine.sh --with-wine
source cmake/wine-env.sh
if brisk_can_run_32bit; then
  arch=i686
  build=build/bench-i686
  loader=/usr/lib/wine/wine
else
  arch=x86_64
  build=build/bench-x64
  loader=/usr/lib/wine/wine64
fi
cmake -S . -B "$build" -G Ninja --toolchain "cmake/toolchain-mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DBRISK_BUILD_TESTS=ON -DBRISK_WINE="$loader" >/dev/null
cmake --build "$build" --target startup_bench forwarding_bench probe_bench catalogue_bench

export WINEPREFIX=$root/$build/wineprefix
trap 'WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true' EXIT
# The first program makes the prefix (once) and starts its server; -p keeps that
# server up between the benchmarks' many short processes.
"$loader" cmd /c exit </dev/null >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1 || true

results=$build/bench-results
rm -rf "$results"
mkdir -p "$results"
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
started=$(date -u '+%Y-%m-%d %H:%M UTC')
loads=""
for bench in startup_bench forwarding_bench probe_bench catalogue_bench; do
  echo "== $bench" >&2
  loads="$loads${loads:+; }$bench $(cut -d' ' -f1 /proc/loadavg)"
  "$loader" "$build/bin/$bench.exe" $smoke >"$results/$bench.md"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

if [ -n "$smoke" ]; then
  out=$build/BENCHMARKS-smoke.md
else
  out=docs/BENCHMARKS.md
  mkdir -p docs
fi
if revision=$(git rev-parse --short HEAD 2>/dev/null); then
  [ -z "$(git status --porcelain --untracked-files=no 2>/dev/null)" ] || revision="$revision with uncommitted changes"
else
  revision="not a git work tree"
fi
cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')
memory=$(free -h | awk '/^Mem:/{print $2}')
{
  echo "# Benchmarks"
  echo
  echo "What the front plug-in saves a host, and what it costs per call, measured against the"
  echo "status quo: a host that loads every plug-in of its folder. Every figure below was"
  echo "measured by \`bash bench/run.sh\` on the machine described here; nothing is estimated."
  echo
  echo "## Machine and run"
  echo
  echo "- Run: $started; sources: $revision"
  echo "- CPU: $cpu, $(nproc) cores; memory: $memory"
  echo "- System: $(uname -sr); $("$loader" --version)"
  echo "- Build: $arch ($build), $("$arch-w64-mingw32-g++-posix" --version | head -1), Release"
  if [ "$arch" = x86_64 ]; then
    echo "  (this kernel runs no 32-bit programs, so the 64-bit build of the same sources ran under wine64;"
    echo "  the deliverables are 32-bit)"
  fi
  echo "- Load average (1, 5, 15 min) before the run: $load_before; after: $load_after;"
  echo "  1-minute load as each benchmark started: $loads"
  echo "  (the machine was shared with other builds; its 1-minute load is the number of runnable tasks"
  echo "  on $(nproc) cores)"
  echo "- Wine: a prefix and wineserver of the run's own, so no other Wine program shared the server."
  echo
  echo "## How to rerun"
  echo
  echo '```'
  echo "bash bench/run.sh            # builds what it needs, runs everything, rewrites docs/BENCHMARKS.md"
  echo "bash bench/run.sh --smoke    # a few seconds with tiny counts; writes $build/BENCHMARKS-smoke.md"
  echo '```'
  echo
  echo "Each program also runs alone, e.g. \`$loader $build/bin/startup_bench.exe --counts=10,100 --runs=5\`"
  echo "(options are in the comment at the top of bench/*_bench.cpp). The test suite runs each with"
  echo "\`--smoke\` (tests/bench)."
  echo
  echo "## Targets"
  echo
  echo "As each benchmark judged its own figures (details in its section):"
  echo
  grep -hE '^(Target|- reader)' "$results"/startup_bench.md "$results"/forwarding_bench.md \
    "$results"/probe_bench.md | sed 's/^Target/- Target/; s/^- reader/  - reader/'
  echo
  for bench in startup_bench forwarding_bench probe_bench catalogue_bench; do
    cat "$results/$bench.md"
  done
  if [ -z "$smoke" ] && [ -f bench/findings.md ]; then
    cat bench/findings.md
  fi
} >"$out"
echo "wrote $out" >&2
