# The -posix variants: the -win32 ones lack std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${BRISK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRISK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BRISK_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BRISK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Wine runs the test programs; the scripts pick wine or wine64 to suit the machine.
if(NOT DEFINED BRISK_WINE)
  set(BRISK_WINE wine)
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR ${BRISK_WINE})
