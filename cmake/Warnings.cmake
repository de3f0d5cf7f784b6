# Shared warning flags for every target of the project.
add_library(mosaikon_warnings INTERFACE)
target_compile_options(mosaikon_warnings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wno-missing-field-initializers>)
