# Layers are libraries whose headers are reachable only by targets that link them.
#
# Each layer's folder is exposed through a private include root in the build tree that holds one
# link named after the layer, so `#include "base/FixedString.h"` resolves only in targets that
# link vx_base (directly or through a layer above it). A layer that includes a header of a layer
# above it, or of a layer it does not declare, fails to compile.

set(VX_LAYER_INCLUDE_ROOT "${CMAKE_BINARY_DIR}/layer-include")

# vx_add_layer(NAME DIR <folder> [DEPS <layer>...] [PACKAGES <imported target>...])
# Creates the target vx_<NAME> from every .cpp under <folder>. A layer without sources yet is an
# INTERFACE library so that its dependants can already link it.
function(vx_add_layer name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS;PACKAGES" ${ARGN})
  set(dir "${ARG_DIR}")
  set(root "${VX_LAYER_INCLUDE_ROOT}/${name}")
  file(MAKE_DIRECTORY "${root}")
  file(CREATE_LINK "${dir}" "${root}/${name}" SYMBOLIC)

  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp")
  set(deps "")
  foreach(dep IN LISTS ARG_DEPS)
    list(APPEND deps "vx_${dep}")
  endforeach()

  if(sources)
    add_library(vx_${name} STATIC ${sources})
    target_include_directories(vx_${name} PUBLIC "${root}")
    target_link_libraries(vx_${name} PUBLIC ${deps} ${ARG_PACKAGES})
  else()
    add_library(vx_${name} INTERFACE)
    target_include_directories(vx_${name} INTERFACE "${root}")
    target_link_libraries(vx_${name} INTERFACE ${deps} ${ARG_PACKAGES})
  endif()
endfunction()

# vx_add_layer_tests(NAME [DEPS <target>...])
# Builds every .cpp under tests/<NAME> into one test program and registers its tests with CTest.
function(vx_add_layer_tests name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp")
  if(NOT sources)
    return()
  endif()
  string(REPLACE "/" "_" target "${name}")
  add_executable(test_${target} ${sources})
  target_link_libraries(test_${target} PRIVATE ${ARG_DEPS} vx_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
  gtest_discover_tests(test_${target}
    WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}"
    PROPERTIES ENVIRONMENT "VX_SOURCE_DIR=${CMAKE_SOURCE_DIR};VX_BINARY_DIR=${CMAKE_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()
