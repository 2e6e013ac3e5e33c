# tvsk_add_component(<target> SOURCES ... [LIBS ...] [NO_REGISTER] [OUTPUT_DIRECTORY dir])
# A component module by the library rule (TvskLibrary.cmake): <target>.so, in build/bin unless told
# otherwise, exporting only its extern "C" entry points; unless NO_REGISTER, its DllRegisterServer
# runs after each link into build/bin/registry, the store programs started from build/bin find.
function(tvsk_add_component target)
  cmake_parse_arguments(C "NO_REGISTER" "OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  set(options "")
  if(C_NO_REGISTER)
    list(APPEND options NO_REGISTER)
  endif()
  if(C_OUTPUT_DIRECTORY)
    list(APPEND options OUTPUT_DIRECTORY ${C_OUTPUT_DIRECTORY})
  endif()
  tvsk_add_library(${target} KIND component SOURCES ${C_SOURCES} PRIVATE_DEPS ${C_LIBS} ${options})
endfunction()
