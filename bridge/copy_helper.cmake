# Copies the 32-bit build's helper beside the 64-bit set; says so when it is missing.
if(EXISTS "${FROM}")
  file(COPY "${FROM}" DESTINATION "${TO}")
else()
  message(WARNING "${FROM} is missing: build the i686 preset first, or the 64-bit set has no bridge")
endif()
