# tvsk_version_block(<target> FILE <module file name> [DESCRIPTION <text>])
# Gives a program, plug-in or component the version block of the project's version, registered
# while the module is loaded (framework/VersionTable.h): the about box and the crash report read it.
set(TVSK_VERSION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/VersionBlock.cpp.in)

function(tvsk_version_block target)
  cmake_parse_arguments(V "" "FILE;DESCRIPTION" "" ${ARGN})
  set(TVSK_VB_TARGET ${target})
  set(TVSK_VB_FILE ${V_FILE})
  set(TVSK_VB_DESCRIPTION ${V_DESCRIPTION})
  if(NOT TVSK_VB_DESCRIPTION)
    set(TVSK_VB_DESCRIPTION ${target})
  endif()
  set(source ${CMAKE_BINARY_DIR}/versions/${target}Version.cpp)
  configure_file(${TVSK_VERSION_TEMPLATE} ${source} @ONLY)
  target_sources(${target} PRIVATE ${source})
  target_link_libraries(${target} PRIVATE Tvsk::Platform::Framework)
endfunction()
