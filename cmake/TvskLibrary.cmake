# The one rule for every library and component of the tree.
#
#   tvsk_add_library(<Name> KIND model|ui|component
#                    SOURCES <file>... [DEPS <target>...] [PRIVATE_DEPS <target>...]
#                    [STATIC] [TARGET <target>] [OUTPUT_NAME <file name>] [ALIASES <name>...]
#                    [DIRECTORY <dir>] [HEADERS <prefix>] [BARE_HEADERS] [EXPORT_ALL]
#                    [NO_REGISTER] [OUTPUT_DIRECTORY <dir>])
#
# - The library is Tvsk::<Name> (Name may carry its own "::", e.g. Protocol::Codec); the CMake target
#   is TARGET, else tvsk_<name> in lower case (a component's target is its module name, <Name>.so).
#   ALIASES adds further names, e.g. the ones callers used before.
# - DEPS are public (the deliverable's headers use them), PRIVATE_DEPS are not.
# - One include root per deliverable: its directory (DIRECTORY, else the current one) appears as
#   <prefix>/..., prefix being its path below the tree, platform/ or family/ (so <ui/Wnd.h>,
#   <TvskDb/TvskParDb.h>, <tools/sdonode/SdoNode.h>), or HEADERS <prefix>. BARE_HEADERS also
#   publishes the directory itself (<Display.h>). Another deliverable's headers are reached only
#   by linking it.
# - model: no Qt. Configuring fails when a Qt target is in its link chain, and the test
#   layering_<target> (label "layering") fails on a Qt include in its sources or their headers.
#   ui: on the window layer. component: an in-process component or plug-in module that exports
#   only its entry points, the functions it declares extern "C" (DllGetClassObject and the like;
#   the test exports_<target> checks), and is registered after each link unless NO_REGISTER.
# - A shared library hides what its sources do not mark with the generated export macro: the header
#   <target_export.h> defines TARGET_EXPORT (tvsk_cam_model: <tvsk_cam_model_export.h>,
#   TVSK_CAM_MODEL_EXPORT, on classes and functions its users call). EXPORT_ALL keeps every symbol
#   visible, for libraries whose headers do not carry the macro yet.
# - Without SOURCES (or with headers only) the library is an interface library.
# - The project's warnings apply to every source.
include(GenerateExportHeader)

set(TVSK_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

function(tvsk_add_library name)
  cmake_parse_arguments(L "STATIC;BARE_HEADERS;EXPORT_ALL;NO_REGISTER"
    "KIND;TARGET;OUTPUT_NAME;DIRECTORY;HEADERS;OUTPUT_DIRECTORY" "SOURCES;DEPS;PRIVATE_DEPS;ALIASES" ${ARGN})
  if(NOT L_KIND MATCHES "^(model|ui|component)$")
    message(FATAL_ERROR "tvsk_add_library(${name}): KIND must be model, ui or component")
  endif()
  set(target ${L_TARGET})
  if(NOT target)
    if(L_KIND STREQUAL "component")
      set(target ${name})
    else()
      string(REPLACE "::" "_" lower ${name})
      string(TOLOWER "tvsk_${lower}" target)
    endif()
  endif()

  set(compiled ${L_SOURCES})
  list(FILTER compiled INCLUDE REGEX "\\.(cpp|cc|c|qrc)$|^\\$<")
  if(L_KIND STREQUAL "component")
    add_library(${target} MODULE ${L_SOURCES})
  elseif(NOT compiled)
    add_library(${target} INTERFACE ${L_SOURCES})
  elseif(L_STATIC)
    add_library(${target} STATIC ${L_SOURCES})
  else()
    add_library(${target} SHARED ${L_SOURCES})
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(public INTERFACE)
  else()
    set(public PUBLIC)
  endif()
  add_library(Tvsk::${name} ALIAS ${target})
  list(REMOVE_ITEM L_ALIASES ${target})
  foreach(alias ${L_ALIASES})
    add_library(${alias} ALIAS ${target})
  endforeach()
  set(dir ${CMAKE_CURRENT_SOURCE_DIR})
  if(L_DIRECTORY)
    get_filename_component(dir ${L_DIRECTORY} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set_target_properties(${target} PROPERTIES TVSK_KIND ${L_KIND})
  if(L_OUTPUT_NAME)
    set_target_properties(${target} PROPERTIES OUTPUT_NAME ${L_OUTPUT_NAME})
  endif()

  # The include root: a folder in the build tree holding only this deliverable's directory.
  if(NOT L_KIND STREQUAL "component")
    set(prefix ${L_HEADERS})
    if(NOT prefix)
      file(RELATIVE_PATH prefix ${CMAKE_SOURCE_DIR} ${dir})
      string(REGEX REPLACE "^(platform|family)/" "" prefix "${prefix}")
    endif()
    set(root ${CMAKE_BINARY_DIR}/include/${target})
    get_filename_component(parent ${root}/${prefix} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(IS_SYMLINK ${root}/${prefix})
      file(REMOVE ${root}/${prefix})
    endif()
    file(CREATE_LINK ${dir} ${root}/${prefix} SYMBOLIC)
    target_include_directories(${target} ${public} ${root})
    if(L_BARE_HEADERS)
      target_include_directories(${target} ${public} ${dir})
    endif()
  endif()

  target_link_libraries(${target} ${public} ${L_DEPS})
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_link_libraries(${target} INTERFACE ${L_PRIVATE_DEPS})
  else()
    target_link_libraries(${target} PRIVATE ${L_PRIVATE_DEPS} Tvsk::Warnings)
  endif()

  if(type STREQUAL "SHARED_LIBRARY")
    string(TOUPPER "${target}_EXPORT" macro)
    generate_export_header(${target} BASE_NAME ${target} EXPORT_MACRO_NAME ${macro}
      EXPORT_FILE_NAME ${CMAKE_BINARY_DIR}/include/${target}/${target}_export.h)
    if(NOT L_EXPORT_ALL)
      set_target_properties(${target} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    endif()
  endif()

  if(L_KIND STREQUAL "component")
    _tvsk_component(${target} "${L_NO_REGISTER}" "${L_OUTPUT_DIRECTORY}")
  endif()
  if(L_KIND STREQUAL "model")
    _tvsk_layering_test(${target} "${L_SOURCES}")
  endif()
  _tvsk_defer_layering_check()
endfunction()

# A component module: named <target>.so, only its C-linkage symbols (C++ names begin with "_")
# exported, registered after linking.
function(_tvsk_component target noRegister outputDirectory)
  if(NOT outputDirectory)
    set(outputDirectory ${TVSK_BIN_DIR})
  endif()
  set(map ${CMAKE_BINARY_DIR}/exports/component.map)
  file(CONFIGURE OUTPUT ${map} CONTENT "{\n  global: [!_]*;\n  local: *;\n};\n")
  target_link_libraries(${target} PRIVATE Tvsk::Platform::Com)
  tvsk_version_block(${target} FILE ${target}.so)
  target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
  set_target_properties(${target} PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${outputDirectory}
    LINK_DEPENDS ${map})
  add_test(NAME exports_${target}
    COMMAND ${CMAKE_COMMAND} -DMODULE=$<TARGET_FILE:${target}> -DNM=${CMAKE_NM} -P ${TVSK_CMAKE_DIR}/CheckEntryPoints.cmake)
  set_tests_properties(exports_${target} PROPERTIES LABELS layering)
  if(NOT noRegister)
    add_dependencies(${target} tvsk_regsvr)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E env TARVESKON_REGISTRY=${TVSK_BIN_DIR}/registry ${TVSK_SANITIZER_ENV}
              $<TARGET_FILE:tvsk_regsvr> $<TARGET_FILE:${target}>
      COMMENT "Registering component ${target}"
      VERBATIM)
  endif()
endfunction()

# The test that a model deliverable's sources and every header of the tree they include (found by
# the check itself) include no Qt header.
function(_tvsk_layering_test target sources)
  set(files "")
  foreach(source ${sources})
    get_filename_component(path ${source} ABSOLUTE)
    list(APPEND files ${path})
  endforeach()
  list(REMOVE_DUPLICATES files)
  list(JOIN files "\n" lines)
  set(listFile ${CMAKE_BINARY_DIR}/layering/${target}.txt)
  file(CONFIGURE OUTPUT ${listFile} CONTENT "${lines}\n")
  add_test(NAME layering_${target}
    COMMAND ${CMAKE_COMMAND} -DFILES=${listFile} -DDELIVERABLE=${target} -DINCLUDE_ROOTS=${CMAKE_BINARY_DIR}/include
      -DSOURCE_ROOT=${CMAKE_SOURCE_DIR} -P ${TVSK_CMAKE_DIR}/CheckNoQtInclude.cmake)
  set_tests_properties(layering_${target} PROPERTIES LABELS layering)
endfunction()

function(_tvsk_defer_layering_check)
  get_property(deferred GLOBAL PROPERTY TVSK_LAYERING_DEFERRED)
  if(NOT deferred)
    set_property(GLOBAL PROPERTY TVSK_LAYERING_DEFERRED ON)
    cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _tvsk_check_layering)
  endif()
endfunction()

# Every link dependency of a target, followed through aliases and interface links.
function(_tvsk_link_closure target result)
  set(seen "")
  set(pending ${target})
  while(pending)
    list(POP_FRONT pending current)
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      set(current ${aliased})
    endif()
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    get_target_property(type ${current} TYPE)
    set(links "")
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${current} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${current} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(link ${links})
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      if(link MATCHES "^(Qt[0-9]*)::")
        list(APPEND seen ${link})
      elseif(TARGET ${link})
        list(APPEND pending ${link})
      endif()
    endforeach()
  endwhile()
  set(${result} ${seen} PARENT_SCOPE)
endfunction()

# A model deliverable reaches no Qt and no ui deliverable through its links.
function(_tvsk_check_layering)
  _tvsk_all_targets(${CMAKE_SOURCE_DIR} all)
  foreach(target ${all})
    get_target_property(kind ${target} TVSK_KIND)
    if(NOT kind STREQUAL "model")
      continue()
    endif()
    _tvsk_link_closure(${target} closure)
    foreach(link ${closure})
      set(bad "")
      if(link MATCHES "^Qt[0-9]*::")
        set(bad ${link})
      elseif(TARGET ${link})
        get_target_property(linkKind ${link} TVSK_KIND)
        if(linkKind STREQUAL "ui")
          set(bad "${link} (a ui deliverable)")
        endif()
      endif()
      if(bad)
        message(FATAL_ERROR "${target} is a model deliverable (no Qt) but links ${bad}")
      endif()
    endforeach()
  endforeach()
endfunction()

function(_tvsk_all_targets dir result)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir ${subdirs})
    _tvsk_all_targets(${subdir} more)
    list(APPEND targets ${more})
  endforeach()
  set(${result} ${targets} PARENT_SCOPE)
endfunction()
