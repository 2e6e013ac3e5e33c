# tvsk_add_component(<target> SOURCES ... [LIBS ...] [NO_REGISTER] [OUTPUT_DIRECTORY dir])
# Builds an in-process component (a module named <target>.so, in build/bin unless told otherwise)
# and, unless NO_REGISTER, runs its DllRegisterServer after each link into build/bin/registry, the
# store that programs started from build/bin find beside themselves.
function(tvsk_add_component target)
  cmake_parse_arguments(C "NO_REGISTER" "OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  if(NOT C_OUTPUT_DIRECTORY)
    set(C_OUTPUT_DIRECTORY ${TVSK_BIN_DIR})
  endif()
  add_library(${target} MODULE ${C_SOURCES})
  target_link_libraries(${target} PRIVATE Tvsk::Platform::Com ${C_LIBS} Tvsk::Warnings)
  set_target_properties(${target} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${C_OUTPUT_DIRECTORY})
  if(NOT C_NO_REGISTER)
    add_dependencies(${target} tvsk_regsvr)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E env TARVESKON_REGISTRY=${TVSK_BIN_DIR}/registry
              $<TARGET_FILE:tvsk_regsvr> $<TARGET_FILE:${target}>
      COMMENT "Registering component ${target}"
      VERBATIM)
  endif()
endfunction()
