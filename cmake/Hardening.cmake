# The program and its tools read pictures and settings that others made:
# build them as the distribution builds its own programs. Library calls with
# a known buffer size are checked, stacks carry a guard, and the relocation
# table is resolved at start and then made read-only. Fortified calls need
# the optimiser, so optimised configurations only; the sanitizer builds keep
# their own checks.
if(NOT WIN32 AND NOT TAVLO_SANITIZE AND NOT TAVLO_FUZZ)
  add_compile_options(-fstack-protector-strong
                      $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:-D_FORTIFY_SOURCE=2>)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
