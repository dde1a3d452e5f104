# Sourced by the scripts that run Windows programs. Chooses the Wine loader that can
# run on this machine and starts a persistent wineserver for fast program starts.
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

# 32-bit Windows programs need a kernel that runs 32-bit Linux programs (Wine's
# 32-bit loader is one). Some kernels have that switched off.
brisk_can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

brisk_start_wineserver() {
  # The persistent server inherits our output; keep it off CI's pipe.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  /usr/lib/wine/wine64 cmd /c exit </dev/null >/dev/null 2>&1 || true
}
