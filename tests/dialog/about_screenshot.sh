#!/usr/bin/env bash
# Opens the About dialog under Xvfb in a Wine virtual desktop and saves a picture of
# it as docs/about-dialog.png.
#   tests/dialog/about_screenshot.sh [BUILD_FOLDER]
# BUILD_FOLDER is a configured test build (default build/x86_64, the one ./test.sh
# makes here); the script builds about_screenshot_host.exe in it.
#
# It runs in a Wine prefix of its own, so the shared prefix and its server are left
# alone, with the fonts the dialog tests get (brisk_wine_fonts in cmake/wine-env.sh),
# so the dialog is laid out and drawn as a Windows user sees it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/x86_64}
output=$root/docs/about-dialog.png

bash "$root/cmake/setup-machine.sh" --with-wine
if ! dpkg -s imagemagick >/dev/null 2>&1; then
  apt-get update >/dev/null
  apt-get install -y --no-install-recommends imagemagick >/dev/null
fi
cmake --build "$build" --target about_screenshot_host
bin=$build/bin
case $(i686-w64-mingw32-objdump -f "$bin/about_screenshot_host.exe" 2>/dev/null) in
  *pei-i386*) wine=/usr/lib/wine/wine ;;
  *) wine=/usr/lib/wine/wine64 ;;
esac

work=$(mktemp -d)
export WINEPREFIX=$work/prefix
cleanup() {
  # Only this prefix's server: it ends once its programs have.
  wineserver -w 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
winpath() { local path=${1//\//\\}; echo "Z:$path"; }

cat >"$work/shoot.sh" <<SCRIPT
set -euo pipefail
source "$root/cmake/wine-env.sh"
"$wine" wineboot -i >/dev/null 2>&1
brisk_wine_fonts
"$wine" explorer /desktop=brisk_about,480x360 "$bin/about_screenshot_host.exe" \
    '$(winpath "$work/ready")' '$(winpath "$work/done")' &
host=\$!
for _ in \$(seq 600); do [ -s "$work/ready" ] && break; sleep 0.1; done
[ -s "$work/ready" ] || { echo "the dialog did not appear" >&2; kill \$host; exit 1; }
read -r x y width height < <(tr -d '\\r' <"$work/ready")
if grep -q '^cut: ' "$work/ready"; then
  echo "labels cut in the dialog's font, no screenshot taken:" >&2
  tr -d '\\r' <"$work/ready" | grep '^cut: ' >&2
  touch "$work/done"; wait \$host; exit 1
fi
# The dialog with a few pixels of the desktop around it.
import -window root -crop "\$((width + 16))x\$((height + 16))+\$((x - 8))+\$((y - 8))" +repage "$output"
touch "$work/done"
wait \$host
SCRIPT
mkdir -p "$(dirname "$output")"
rm -f "$output"
xvfb-run -a -s "-screen 0 640x480x24" bash "$work/shoot.sh"
[ -s "$output" ] || { echo "no screenshot taken" >&2; exit 1; }
echo "saved $output"
