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
  # Fonts the dialogs are drawn with (brisk_wine_fonts in cmake/wine-env.sh).
  [ -s /usr/share/fonts/truetype/monapo/monapo.ttf ] || need+=(fonts-monapo)
  [ -s /usr/share/wine/fonts/marlett.ttf ] || need+=(fonts-wine)
fi
# apt names a downloaded index after its address: scheme dropped, '/' as '_',
# compression suffix dropped.
take_mismatched_indexes() {
  local url list
  grep -o 'Failed to fetch http[^ ]*Packages\.xz  File has unexpected size' "$1" |
    sed 's/^Failed to fetch //; s/  File has.*//' | sort -u |
    while read -r url; do
      list="/var/lib/apt/lists/$(echo "${url%.xz}" | sed 's|^[a-z]*://||; s|/|_|g')"
      echo "warning: $url does not match its release file; using it as served" >&2
      if curl -fsS "$url" | xz -d | $sudo_cmd tee "$list" >/dev/null; then :; else
        $sudo_cmd rm -f "$list"
      fi
    done
}

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
    $sudo_cmd apt-get update -qq 2>&1 | tee /tmp/brisk-apt-update.log || true
    # From the third try on, an index that still does not match its release file
    # is taken as the mirror serves it: the packages it lists are still checked
    # against their hashes, and a 32-bit Wine is worth more to the tests than
    # waiting for a sync that may take days.
    if [ $attempt -ge 3 ]; then take_mismatched_indexes /tmp/brisk-apt-update.log; fi
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
