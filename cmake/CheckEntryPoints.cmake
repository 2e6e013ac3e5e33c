# cmake -DMODULE=<component module> -DNM=<nm> -P CheckEntryPoints.cmake
# Fails naming every C++ symbol the module exports: a component exports its extern "C" entry points only.
execute_process(COMMAND ${NM} -D --defined-only ${MODULE} OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "cannot list the symbols of ${MODULE}")
endif()
string(REGEX MATCHALL "[^\n]* _Z[^\n]*" mangled "${symbols}")
if(mangled)
  list(JOIN mangled "\n  " lines)
  message(FATAL_ERROR "${MODULE} exports more than its entry points:\n  ${lines}")
endif()
