#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, when missing.
set -euo pipefail

need=()
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686)
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
[ -d /usr/src/googletest ] || need+=(googletest)
if [ "${1:-}" = "--with-wine" ]; then
  [ -x /usr/lib/wine/wine64 ] || need+=(wine wine64)
  [ -x /usr/lib/wine/wine ] || need+=(wine32:i386)
  command -v xvfb-run >/dev/null || need+=(xvfb xauth)
  command -v zip >/dev/null || need+=(zip)
fi
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo_cmd dpkg --add-architecture i386
  fi
  # A mirror in the middle of a sync serves index files that do not match their
  # release file for a while; a later try usually gets consistent ones.
  for attempt in 1 2 3 4 5; do
    $sudo_cmd apt-get update -qq || true
    if DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null; then
      break
    fi
    if [ $attempt -eq 5 ]; then
      echo "could not install: ${need[*]}" >&2
      exit 1
    fi
    echo "package install failed (try $attempt of 5); trying again in 30 s" >&2
    sleep 30
  done
fi
