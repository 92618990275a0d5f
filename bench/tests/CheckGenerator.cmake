# The generator is deterministic: the same preset and seed give the same scene file, side file and
# texture images byte for byte; another seed gives another scene. Then vxexport exports the scene.
# Usage: cmake -DVXGEN=<path> -DVXEXPORT=<path> -DWORK=<folder> -P CheckGenerator.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/a" "${WORK}/b" "${WORK}/c")

function(generate folder seed)
  execute_process(COMMAND "${VXGEN}" tiny "${folder}/tiny.json" --seed ${seed}
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "vxgen ended with ${result}: ${errors}")
  endif()
endfunction()

generate("${WORK}/a" 7)
generate("${WORK}/b" 7)
generate("${WORK}/c" 8)

foreach(name tiny.json tiny.bin tiny-textures/tex000.tga tiny-textures/tex001.tga)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/a/${name}" "${WORK}/b/${name}"
    RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${name} differs between two runs with the same seed")
  endif()
endforeach()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/a/tiny.bin" "${WORK}/c/tiny.bin"
  RESULT_VARIABLE different)
if(NOT different)
  message(FATAL_ERROR "another seed gave the same side file")
endif()

execute_process(COMMAND "${VXEXPORT}" --yes --quiet "${WORK}/a/tiny.json" "${WORK}/a/tiny.vx"
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT EXISTS "${WORK}/a/tiny.vx")
  message(FATAL_ERROR "vxexport ended with ${result}: ${output} ${errors}")
endif()
