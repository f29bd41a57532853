# Warnings on for our own code; third-party headers come in as SYSTEM.
add_compile_options(-Wall -Wextra)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC 12 reports false positives in std::vector/std::string inlining at -O2
  # (stringop-overflow) and in std::string's insert at -O3 (restrict).
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-stringop-overflow> $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>)
endif()
# The test command turns this on, so that a new warning fails the run.
option(TAVLO_WERROR "Treat compiler warnings as errors" OFF)
if(TAVLO_WERROR)
  add_compile_options(-Werror)
endif()
