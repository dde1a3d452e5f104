# Copies the other build's helper beside this set; says so when it is missing.
if(EXISTS "${FROM}")
  file(COPY "${FROM}" DESTINATION "${TO}")
else()
  message(WARNING "${FROM} is missing: build the ${OTHER_BUILD} preset too, or this set has no bridge")
endif()
