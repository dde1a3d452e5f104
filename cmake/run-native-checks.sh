#!/usr/bin/env bash
# The native checks of the platform-free core: the catalogue unit tests built with
# the machine's g++ under AddressSanitizer and UndefinedBehaviorSanitizer, the tests of
# what threads share under ThreadSanitizer, then a bounded libFuzzer run (clang) of the catalogue reader and the pattern-list rule.
# Any test failure, crash, leak, sanitizer report or broken property fails the run.
#
# Environment: BRISK_FUZZ_SECONDS (default 60, per fuzzer; the two run side by side),
# BRISK_NATIVE_BUILD and BRISK_FUZZ_BUILD (build folders, default build/native and
# build/fuzz). Fuzzer figures go to <fuzz build>/fuzz-stats.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
bash cmake/setup-native.sh

native_build=${BRISK_NATIVE_BUILD:-build/native}
fuzz_build=${BRISK_FUZZ_BUILD:-build/fuzz}
fuzz_seconds=${BRISK_FUZZ_SECONDS:-60}

echo "== native sanitizer build (g++, ASan + UBSan)"
CXX=g++ cmake -S tests/native -B "$native_build" -G Ninja >/dev/null
cmake --build "$native_build"
ctest --test-dir "$native_build" -j2 --output-on-failure

echo "== native thread-sanitizer build (g++, TSan): what threads share"
tsan_build=${BRISK_TSAN_BUILD:-build/native-tsan}
CXX=g++ cmake -S tests/native -B "$tsan_build" -G Ninja -DBRISK_TSAN=ON >/dev/null
cmake --build "$tsan_build"
ctest --test-dir "$tsan_build" -j2 --output-on-failure

echo "== fuzzers (clang, libFuzzer + ASan + UBSan), ${fuzz_seconds} s each"
CXX=clang++-14 cmake -S tests/native -B "$fuzz_build" -G Ninja -DBRISK_FUZZ=ON >/dev/null
cmake --build "$fuzz_build"

run_fuzzer() {
  local name=$1 seeds=$2 dict=$3
  local work=$fuzz_build/work/$name
  mkdir -p "$work/corpus" "$work/crashes"
  local args=(-max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192
              -print_final_stats=1 -artifact_prefix="$work/crashes/")
  [ -n "$dict" ] && args+=(-dict="$dict")
  # New inputs go to the work corpus; the seeds in the source tree stay untouched.
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$fuzz_build/bin/$name" "${args[@]}" "$work/corpus" "$seeds" >"$work/log.txt" 2>&1
}

declare -A pids
for name in catalogue_fuzzer pattern_list_fuzzer; do
  case $name in
    catalogue_fuzzer) seeds=tests/fuzz/corpus/catalogue dict=tests/fuzz/catalogue.dict ;;
    pattern_list_fuzzer) seeds=tests/fuzz/corpus/patterns dict="" ;;
  esac
  run_fuzzer "$name" "$seeds" "$dict" &
  pids[$name]=$!
done

failed=0
: >"$fuzz_build/fuzz-stats.txt"
for name in catalogue_fuzzer pattern_list_fuzzer; do
  log=$fuzz_build/work/$name/log.txt
  if wait "${pids[$name]}"; then status=ok; else status=FAILED; failed=1; fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  seconds=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -1)
  corpus=$(ls "$fuzz_build/work/$name/corpus" | wc -l)
  echo "$name runs=${runs:-0} seconds=${seconds:-$fuzz_seconds} new_corpus=$corpus status=$status" \
    >>"$fuzz_build/fuzz-stats.txt"
  echo "fuzz: $name: ${runs:-0} inputs in ${seconds:-?} s, $corpus new corpus entries, $status"
  if [ $status = FAILED ]; then
    tail -n 60 "$log"
    ls "$fuzz_build/work/$name/crashes"
  fi
done
[ $failed -eq 0 ] && echo "native checks: all passed" || echo "native checks: FAILED"
exit $failed
