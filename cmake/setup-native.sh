#!/usr/bin/env bash
# Installs what the native sanitizer build and the fuzzers need on a Debian 12
# machine, when missing: the machine's g++, clang 14 with its sanitizer and libFuzzer
# runtimes, CMake, Ninja and GoogleTest's sources.
set -euo pipefail

need=()
command -v g++ >/dev/null || need+=(g++)
command -v clang++-14 >/dev/null || need+=(clang-14)
ls /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
[ -d /usr/src/googletest ] || need+=(googletest)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
