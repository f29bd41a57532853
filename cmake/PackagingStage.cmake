# Runs in CPack after the staging install, before the package is made:
# completes the tree with what depends on the staged files.
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY})
set(program ${root}${CPACK_TAVLO_PROGRAM_DIR})
if(NOT EXISTS ${program}/tavlo)
  message(FATAL_ERROR "no program in the staged tree ${program}")
endif()

function(compress file)
  execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip failed on ${file}")
  endif()
endfunction()

# Every command-line tool of the program folder is on the path as a link to
# the launcher, which runs it from the user's folder, and has a manual page
# of its own and the tools' bash completion under its name.
set(man ${root}/usr/share/man/man1)
set(completions ${root}/usr/share/bash-completion/completions)
file(GLOB pages ${man}/*.1)
foreach(page IN LISTS pages)
  compress(${page})
endforeach()
file(GLOB tools RELATIVE ${program} ${program}/tavlo-*)
foreach(tool IN LISTS tools)
  if(NOT IS_DIRECTORY ${program}/${tool})
    if(NOT EXISTS ${man}/${tool}.1.gz)
      message(FATAL_ERROR "the tool ${tool} has no manual page packaging/${tool}.1")
    endif()
    file(CREATE_LINK tavlo ${root}/usr/bin/${tool} SYMBOLIC)
    file(CREATE_LINK tavlo ${completions}/${tool} SYMBOLIC)
  endif()
endforeach()

# The version stamp tells the launcher that the user's copy is outdated: the
# version and a digest of every shipped file, so that any rebuild counts.
file(GLOB_RECURSE shipped LIST_DIRECTORIES false RELATIVE ${program} ${program}/*)
list(SORT shipped)
set(listing "")
foreach(file IN LISTS shipped)
  file(SHA256 ${program}/${file} digest)
  string(APPEND listing "${digest} ${file}\n")
endforeach()
string(SHA256 tree_digest "${listing}")
file(WRITE ${root}${CPACK_TAVLO_STAMP_DIR}/version "${CPACK_PACKAGE_VERSION} ${tree_digest}\n")

# The Debian change log of a native package, for this version.
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(changelog ${root}/usr/share/doc/tavlo/changelog)
file(WRITE ${changelog}
  "tavlo (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium\n\n"
  "  * Tavlo助手 ${CPACK_PACKAGE_VERSION}.\n\n"
  " -- ${CPACK_PACKAGE_CONTACT}  ${date}\n")
compress(${changelog})
