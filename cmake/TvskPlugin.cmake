# tvsk_add_plugin(<target> SOURCES ... [LIBS ...] [OUTPUT_DIRECTORY dir] [DEFINITIONS ...])
# Builds a plug-in module <target>.so (in build/bin unless told otherwise) that the loader finds as
# "<target>.dll"; it exports CreatePluginClass and GetPluginName with C linkage.
function(tvsk_add_plugin target)
  cmake_parse_arguments(P "" "OUTPUT_DIRECTORY" "SOURCES;LIBS;DEFINITIONS" ${ARGN})
  if(NOT P_OUTPUT_DIRECTORY)
    set(P_OUTPUT_DIRECTORY ${TVSK_BIN_DIR})
  endif()
  add_library(${target} MODULE ${P_SOURCES})
  target_link_libraries(${target} PRIVATE Tvsk::Family::Modlode ${P_LIBS} Tvsk::Warnings)
  target_compile_definitions(${target} PRIVATE ${P_DEFINITIONS})
  set_target_properties(${target} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY})
endfunction()
