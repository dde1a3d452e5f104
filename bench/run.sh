#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine and writes docs/BENCHMARKS.md.
#   bash bench/run.sh           the measured run (a few minutes), rewrites docs/BENCHMARKS.md
#   bash bench/run.sh --smoke   tiny counts, a few seconds; writes build/BENCHMARKS-smoke.md
# Measures the 32-bit set and the 64-bit set where this machine runs 32-bit programs,
# else the 64-bit set alone. The programs run in a Wine prefix of their own inside each
# build folder, with a wineserver of their own that this script starts and ends, so
# other Wine programs on the machine neither share its server nor lose theirs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
smoke=""
[ "${1:-}" = "--smoke" ] && smoke="--smoke"

bash cmake/setup-machine.sh --with-wine
source cmake/wine-env.sh
# Both widths where this machine runs 32-bit programs; the 64-bit build alone where not.
arches=()
if brisk_can_run_32bit; then
  arches+=(i686)
else
  echo "note: this kernel cannot run 32-bit programs; only the 64-bit build is measured" >&2
fi
arches+=(x86_64)
benches=(startup_bench forwarding_bench probe_bench catalogue_bench bridge_bench threads_bench)
# The report of the last single-threaded sources, whose per-call forwarding figures the
# threads benchmark sets beside this run's.
before_threads=2aba2f0
# The sources before the change for threads: their front plug-in is built too and run
# in turns with this build's, so the per-call figures compare within one run.
before_sources=714b6c5
paired_runs=5

build_of() { [ "$1" = i686 ] && echo build/bench-i686 || echo build/bench-x64; }
loader_of() { [ "$1" = i686 ] && echo /usr/lib/wine/wine || echo /usr/lib/wine/wine64; }
other_of() { [ "$1" = i686 ] && echo x86_64 || echo i686; }
helper_of() { [ "$1" = i686 ] && echo briskbridge32 || echo briskbridge64; }
windows_path() { local path=$1; echo "Z:${path//\//\\}"; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
started=$(date -u '+%Y-%m-%d %H:%M UTC')
loads=""
# Each bench build takes the other width's bridge helper from the other bench build,
# so the helpers come first: the 64-bit one, then the 32-bit build (which copies it
# beside its set), then the rest of the 64-bit build (which copies the 32-bit one).
for arch in "${arches[@]}"; do
  other=$(other_of $arch)
  cmake -S . -B "$(build_of $arch)" -G Ninja --toolchain "cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBRISK_BUILD_TESTS=ON -DBRISK_WINE="$(loader_of $arch)" \
    -DBRISK_BRIDGE_HELPER="$root/$(build_of $other)/bin/$(helper_of $other).exe" >/dev/null
done
if [ "${arches[0]}" = i686 ]; then
  cmake --build "$(build_of x86_64)" --target "$(helper_of x86_64)"
fi
for arch in "${arches[@]}"; do
  cmake --build "$(build_of $arch)" --target "${benches[@]}" "$(helper_of $arch)"
done

# The earlier sources' front plug-in and registry library, per width (measured runs only).
paired=""
if [ -z "$smoke" ] && before_commit=$(git rev-parse --verify -q "$before_sources^{commit}"); then
  before_src=build/before-threads/src
  if [ "$(cat "$before_src/.revision" 2>/dev/null)" != "$before_commit" ]; then
    rm -rf "$before_src"
    mkdir -p "$before_src"
    git archive "$before_commit" | tar -x -C "$before_src"
    echo "$before_commit" >"$before_src/.revision"
  fi
  for arch in "${arches[@]}"; do
    cmake -S "$before_src" -B "build/before-threads/$arch" -G Ninja --toolchain "cmake/toolchain-mingw-$arch.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DBRISK_BUILD_TESTS=OFF >/dev/null
    cmake --build "build/before-threads/$arch" --target BriskImp briskspi
  done
  paired=yes
fi

for arch in "${arches[@]}"; do
  build=$(build_of $arch)
  loader=$(loader_of $arch)
  # A prefix and a server of the run's own; -p keeps the server up between the
  # benchmarks' many short processes.
  export WINEPREFIX=$root/$build/wineprefix
  trap 'WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true' EXIT
  "$loader" cmd /c exit </dev/null >/dev/null 2>&1 || true
  wineserver -p </dev/null >/dev/null 2>&1 || true
  results=$build/bench-results
  rm -rf "$results"
  mkdir -p "$results"
  windows_results=$(windows_path "$root/$results")
  for bench in "${benches[@]}"; do
    echo "== $arch $bench" >&2
    loads="$loads${loads:+; }$arch $bench $(cut -d' ' -f1 /proc/loadavg)"
    extra=()
    # Each direction needs the other width's build and programs of both widths running.
    other_build=$(build_of "$(other_of $arch)")
    if [ "$bench" = bridge_bench ] && [ ${#arches[@]} -eq 2 ] && [ -f "$other_build/bin/bridge_bench.exe" ]; then
      extra=("--other-bin=$(windows_path "$root/$other_build/bin")")
    fi
    # Runs after forwarding_bench, whose figures it reads.
    if [ "$bench" = threads_bench ] &&
      git show "$before_threads:docs/BENCHMARKS.md" >"$results/before-threads.md" 2>/dev/null; then
      extra=("--forwarding=$windows_results\\forwarding_bench.md" "--before=$windows_results\\before-threads.md"
        "--before-label=the run of sources $before_threads")
    fi
    if [ "$bench" = threads_bench ] && [ -n "$paired" ]; then
      before_list="" now_list=""
      for i in $(seq $paired_runs); do
        before_list="$before_list${before_list:+;}$windows_results\\paired-before-$i.md"
        now_list="$now_list${now_list:+;}$windows_results\\paired-now-$i.md"
      done
      extra+=("--paired-before=$before_list" "--paired-now=$now_list" "--paired-label=sources $before_sources")
    fi
    "$loader" "$build/bin/$bench.exe" $smoke "${extra[@]}" >"$results/$bench.md"
    # The side by side: the two sources' front plug-ins in this build's forwarding_bench, in turns.
    if [ "$bench" = forwarding_bench ] && [ -n "$paired" ]; then
      before_bin=$(windows_path "$root/build/before-threads/$arch/bin")
      for i in $(seq $paired_runs); do
        "$loader" "$build/bin/forwarding_bench.exe" --no-op-only "--front-from=$before_bin" >"$results/paired-before-$i.md"
        "$loader" "$build/bin/forwarding_bench.exe" --no-op-only >"$results/paired-now-$i.md"
      done
    fi
  done
  WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  trap - EXIT
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

if [ -n "$smoke" ]; then
  out=build/BENCHMARKS-smoke.md
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
width_of() { [ "$1" = i686 ] && echo "32-bit" || echo "64-bit"; }
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
  echo "- System: $(uname -sr); $(/usr/lib/wine/wine64 --version)"
  for arch in "${arches[@]}"; do
    echo "- $(width_of $arch) build: $(build_of $arch), $("$arch-w64-mingw32-g++-posix" --version | head -1), Release, under $(loader_of $arch)"
  done
  if [ ${#arches[@]} -eq 1 ]; then
    echo "  (this kernel runs no 32-bit programs, so only the 64-bit set was measured)"
  fi
  echo "- Load average (1, 5, 15 min) before the run: $load_before; after: $load_after;"
  echo "  1-minute load as each benchmark started: $loads"
  echo "  (the machine was shared with other builds; its 1-minute load is the number of runnable tasks"
  echo "  on $(nproc) cores)"
  echo "- Wine: a prefix and wineserver of the run's own per width, so no other Wine program shared the server."
  echo
  echo "## How to rerun"
  echo
  echo '```'
  echo "bash bench/run.sh            # builds what it needs, runs everything, rewrites docs/BENCHMARKS.md"
  echo "bash bench/run.sh --smoke    # a few seconds with tiny counts; writes build/BENCHMARKS-smoke.md"
  echo '```'
  echo
  echo "Each program also runs alone, e.g. \`/usr/lib/wine/wine build/bench-i686/bin/startup_bench.exe --counts=10,100 --runs=5\`"
  echo "(options are in the comment at the top of bench/*_bench.cpp). The test suite runs each with"
  echo "\`--smoke\` (tests/bench)."
  echo
  echo "## Targets"
  echo
  echo "As each benchmark judged its own figures (details in its section):"
  for arch in "${arches[@]}"; do
    results=$(build_of $arch)/bench-results
    echo
    echo "$(width_of $arch) set:"
    echo
    grep -hE '^(Target|- reader)' "$results"/startup_bench.md "$results"/forwarding_bench.md \
      "$results"/probe_bench.md "$results"/bridge_bench.md "$results"/threads_bench.md | sed 's/^Target/- Target/; s/^- reader/  - reader/'
  done
  for arch in "${arches[@]}"; do
    results=$(build_of $arch)/bench-results
    echo
    echo "# The $(width_of $arch) set"
    echo
    for bench in "${benches[@]}"; do
      cat "$results/$bench.md"
    done
  done
  if [ -z "$smoke" ] && [ -f bench/findings.md ]; then
    cat bench/findings.md
  fi
} >"$out"
echo "wrote $out" >&2
