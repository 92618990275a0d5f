# Checks that the library LIBRARY exports exactly the four plug-in entry points.
# Usage: cmake -DNM=<nm> -DLIBRARY=<path> -P CheckExports.cmake
execute_process(COMMAND "${NM}" -D --defined-only "${LIBRARY}"
  OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${listing}")
set(names "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^.* " "" name "${line}")
  list(APPEND names "${name}")
endforeach()
list(SORT names)
set(expected LibClassDesc LibDescription LibNumberClasses LibVersion)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exported symbols of ${LIBRARY}: '${names}', expected '${expected}'")
endif()
message(STATUS "exported: ${names}")
