# Checks the two sides of the plug-in boundary:
# - the front end PROGRAM contains none of the exporter's code (it loads the exporter at run time);
# - the virtual functions of the host interface headers in HOST_DIR pass no standard-library types
#   (text is const char*, arrays are HostArray), so that both sides may be built apart.
# Usage: cmake -DNM=<nm> -DPROGRAM=<path> -DHOST_DIR=<dir> -P CheckHostBoundary.cmake
execute_process(COMMAND "${NM}" -C --defined-only "${PROGRAM}"
  OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${PROGRAM}")
endif()
foreach(marker "vx::VNX30MaxExporter" "vx::SqlWriter" "vx::DesignDatabase" "vx::ConvertMaterial")
  string(FIND "${listing}" "${marker}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${PROGRAM} contains exporter code (${marker})")
  endif()
endforeach()

file(GLOB headers "${HOST_DIR}/*.h")
set(faults "")
foreach(header IN LISTS headers)
  file(STRINGS "${header}" lines)
  foreach(line IN LISTS lines)
    # Fixed-width integers are plain C types; anything else from std:: is not.
    string(REGEX REPLACE "std::u?int[0-9]+_t|std::size_t|std::uintptr_t" "" stripped "${line}")
    if(stripped MATCHES "virtual " AND stripped MATCHES "std::")
      string(APPEND faults "\n${header}: ${line}")
    endif()
  endforeach()
endforeach()
if(NOT faults STREQUAL "")
  message(FATAL_ERROR "host interface functions with standard-library types:${faults}")
endif()
message(STATUS "boundary clean: ${PROGRAM}, ${HOST_DIR}")
