#!/usr/bin/env bash
# Checks one set's built deliverables: their width (PE32 i386 for the 32-bit set,
# PE32+ x86-64 for the 64-bit one, told by the file names in the folder), only
# Windows system DLLs imported, and exactly the expected plain export names.
# Usage: check-deliverables.sh BIN_FOLDER
set -euo pipefail
bin=$1
objdump=x86_64-w64-mingw32-objdump
system_dlls='^(kernel32|user32|gdi32|shlwapi|msvcrt|advapi32|comctl32|shell32)\.dll$'
failed=0

if [ -f "$bin/BriskImp.sph" ]; then
  format=pei-x86-64 width=x86-64
  files="briskspi64.dll BriskImp.sph BriskArc.sph spilist64.exe spihost64.exe briskbridge32.exe briskbridge64.exe"
else
  format=pei-i386 width=i386
  files="briskspi.dll BriskImp.spi BriskArc.spi spilist.exe spihost.exe foreachline.exe briskbridge32.exe briskbridge64.exe"
fi

expected_exports() {
  case $1 in
    briskspi.dll | briskspi64.dll) echo "GetAllModules ShowAbout TakeModules ReturnModules BindBridgedPlugin BridgeChannelFailures" ;;
    BriskImp.sp?) echo "ConfigurationDlg GetPictureInfo GetPicture GetPluginInfo GetPreview IsSupported GetPluginInfoW IsSupportedW GetPictureInfoW GetPictureW GetPreviewW" ;;
    BriskArc.sp?) echo "ConfigurationDlg GetArchiveInfo GetFileInfo GetFile GetPluginInfo IsSupported GetPluginInfoW IsSupportedW GetArchiveInfoW GetFileInfoW GetFileW" ;;
    *) echo "" ;;
  esac
}

for file in $files; do
  path=$bin/$file
  if [ ! -f "$path" ]; then
    echo "FAIL $file: not built"; failed=1; continue
  fi
  dump=$($objdump -p "$path")
  ok=1
  # Each helper has the width of the plug-ins it runs, whichever set it lies beside.
  file_format=$format file_width=$width
  [ "$file" = briskbridge32.exe ] && file_format=pei-i386 file_width=i386
  [ "$file" = briskbridge64.exe ] && file_format=pei-x86-64 file_width=x86-64
  if ! grep -q "file format $file_format" <<<"$dump"; then
    echo "FAIL $file: not a $file_width Windows binary"; ok=0
  fi
  while read -r dll; do
    if ! grep -qiE "$system_dlls" <<<"$dll"; then
      echo "FAIL $file: imports $dll"; ok=0
    fi
  done < <(grep 'DLL Name:' <<<"$dump" | awk '{print $3}')
  want=$(expected_exports "$file" | tr ' ' '\n' | sed '/^$/d' | sort)
  if [ "${file##*.}" != exe ]; then
    have=$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[ \t]*\[/{print $NF} t&&/^$/{t=0}' <<<"$dump" | sort)
    if [ "$have" != "$want" ]; then
      echo "FAIL $file: exports [$(echo $have)], expected [$(echo $want)]"; ok=0
    fi
  fi
  [ $ok -eq 1 ] && echo "ok   $file: $file_width, system DLLs only${want:+, exports $(echo $want)}"
  [ $ok -eq 1 ] || failed=1
done
exit $failed
