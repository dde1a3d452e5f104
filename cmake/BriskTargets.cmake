# Helpers shared by the deliverables, the samples and the test fixtures.

# A Windows DLL with plain export names taken from a .def file, no "lib" prefix.
function(brisk_plugin_library target def_file)
  set_target_properties(${target} PROPERTIES PREFIX "" IMPORT_PREFIX "")
  target_sources(${target} PRIVATE ${def_file})
  # The .def names are the only exports; nothing else leaks out by default.
  target_link_options(${target} PRIVATE -Wl,--kill-at)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # The .def names the stdcall exports plainly; tell the linker that is meant.
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
  endif()
endfunction()

# A deliverable: installed into dist/ by the build command.
function(brisk_deliverable target)
  install(TARGETS ${target} RUNTIME DESTINATION . LIBRARY DESTINATION . ARCHIVE EXCLUDE_FROM_ALL)
endfunction()
