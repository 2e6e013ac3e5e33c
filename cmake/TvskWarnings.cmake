# One place for the warning flags; every target links tvsk_warnings.
add_library(tvsk_warnings INTERFACE)
add_library(Tvsk::Warnings ALIAS tvsk_warnings)
target_compile_options(tvsk_warnings INTERFACE
  -Wall -Wextra $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local> -Wnon-virtual-dtor -Wno-missing-field-initializers)
