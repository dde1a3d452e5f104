#!/usr/bin/env bash
# Opens the About dialog under Xvfb in a Wine virtual desktop and saves a picture of
# it as docs/about-dialog.png.
#   tests/dialog/about_screenshot.sh [BUILD_FOLDER]
# BUILD_FOLDER is a configured test build (default build/x86_64, the one ./test.sh
# makes here); the script builds about_screenshot_host.exe in it.
#
# It runs in a Wine prefix of its own, so the shared prefix and its server are left
# alone, and maps the dialog's font "ＭＳ Ｐゴシック" to IPAPGothic, another
# proportional Japanese Gothic, so the text is laid out much as on a Japanese system.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/x86_64}
output=$root/docs/about-dialog.png

# Wine's own fonts draw the caption buttons.
packages="imagemagick xvfb xauth fonts-ipafont-gothic fonts-wine"
if ! dpkg -s $packages >/dev/null 2>&1; then
  apt-get update >/dev/null
  apt-get install -y --no-install-recommends $packages >/dev/null
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
"$wine" reg add 'HKCU\\Software\\Wine\\Fonts\\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null 2>&1
"$wine" explorer /desktop=brisk_about,480x360 "$bin/about_screenshot_host.exe" \
    '$(winpath "$work/ready")' '$(winpath "$work/done")' &
host=\$!
for _ in \$(seq 600); do [ -s "$work/ready" ] && break; sleep 0.1; done
[ -s "$work/ready" ] || { echo "the dialog did not appear" >&2; kill \$host; exit 1; }
read -r x y width height < <(tr -d '\\r' <"$work/ready")
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
