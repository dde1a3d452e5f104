# Helpers shared by the deliverables, the samples and the test fixtures.

# The 64-bit set shares a host's plug-in folder with the 32-bit one, so its file names
# differ: plug-ins end in ".sph", the registry library and the tools in "64" (the
# sources take the same names from core/set_names.h).
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(BRISK_PLUGIN_SUFFIX ".sph")
  set(BRISK_SET_SUFFIX "64")
else()
  set(BRISK_PLUGIN_SUFFIX ".spi")
  set(BRISK_SET_SUFFIX "")
endif()

# Product code is called from one thread at a time, so function-local statics need no
# thread-safe guards. Those guards go through the statically linked winpthreads, whose
# per-library state (a TLS index, handles) is never released when a library is unloaded:
# a host that loads and frees a plug-in again and again would run out of TLS indexes.
function(brisk_single_threaded target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:$<IF:$<CXX_COMPILER_ID:MSVC>,/Zc:threadSafeInit-,-fno-threadsafe-statics>>)
endfunction()

# A Windows DLL with plain export names taken from a .def file, no "lib" prefix.
function(brisk_plugin_library target def_file)
  brisk_single_threaded(${target})
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  target_sources(${target} PRIVATE ${def_file})
  # The .def names are the only exports; nothing else leaks out by default.
  target_link_options(${target} PRIVATE -Wl,--kill-at)
  # Hosts unload plug-ins: the runtime's once and thread-key calls go to code that
  # leaves no thread object, TLS index or handle behind (see library_thread_runtime.cpp).
  target_link_libraries(${target} PRIVATE brisk_library_runtime)
  target_link_options(${target} PRIVATE
    -Wl,--wrap=pthread_once,--wrap=pthread_key_create,--wrap=pthread_key_delete
    -Wl,--wrap=pthread_getspecific,--wrap=pthread_setspecific)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The .def names the stdcall exports plainly; tell the linker that is meant.
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()

# A library on a host's start-up path. Wine maps an image whose sections start on page
# boundaries in the file straight from the file; any other it reads whole into fresh
# memory at every load, one page fault per page of the image.
function(brisk_mapped_image target)
  target_link_options(${target} PRIVATE -Wl,--file-alignment=0x1000)
endfunction()

# A deliverable: installed into dist/ by the build command.
function(brisk_deliverable target)
  brisk_single_threaded(${target})
  install(TARGETS ${target} RUNTIME DESTINATION . LIBRARY DESTINATION . ARCHIVE EXCLUDE_FROM_ALL)
endfunction()
