# 64-bit Windows build of the same sources. It exists for testing on machines whose
# kernel cannot run 32-bit programs (and so no 32-bit Wine): the logic under test is
# the same, only pointer widths differ. The deliverables are always the 32-bit build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(BRISK_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
