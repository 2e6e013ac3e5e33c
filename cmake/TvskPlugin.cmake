# tvsk_add_plugin(<target> SOURCES ... [LIBS ...] [OUTPUT_DIRECTORY dir] [DEFINITIONS ...])
# Builds a plug-in module <target>.so (in build/bin unless told otherwise) that the loader finds as
# "<target>.dll"; it exports CreatePluginClass and GetPluginName with C linkage, and nothing else
# (a component by the library rule, TvskLibrary.cmake, not registered).
function(tvsk_add_plugin target)
  cmake_parse_arguments(P "" "OUTPUT_DIRECTORY" "SOURCES;LIBS;DEFINITIONS" ${ARGN})
  set(options NO_REGISTER)
  if(P_OUTPUT_DIRECTORY)
    list(APPEND options OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY})
  endif()
  tvsk_add_library(${target} KIND component SOURCES ${P_SOURCES} PRIVATE_DEPS Tvsk::Family::Modlode ${P_LIBS}
    ${options})
  target_compile_definitions(${target} PRIVATE ${P_DEFINITIONS})
endfunction()
