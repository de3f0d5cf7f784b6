# The platform-free core must never see windows.h: everything outside the
# win32/ folders, framework/ and resources/ builds and is tested natively.
# This check runs at configure time so a stray include fails the build early.
function(mosaikon_check_purity)
  file(GLOB_RECURSE pure_sources RELATIVE ${PROJECT_SOURCE_DIR}
    ${PROJECT_SOURCE_DIR}/common/*.[ch]*
    ${PROJECT_SOURCE_DIR}/document/*.[ch]*
    ${PROJECT_SOURCE_DIR}/settings/*.[ch]*
    ${PROJECT_SOURCE_DIR}/view/*.[ch]*
    ${PROJECT_SOURCE_DIR}/shell/*.[ch]*)
  foreach(source IN LISTS pure_sources)
    if(source MATCHES "/win32/")
      continue()
    endif()
    file(STRINGS ${PROJECT_SOURCE_DIR}/${source} hits REGEX "#[ \t]*include[ \t]*[<\"](windows|windef|winbase|winuser|wingdi|commctrl)\\.h[>\"]")
    if(hits)
      message(FATAL_ERROR "${source} includes a Windows header; platform code belongs in a win32/ folder")
    endif()
  endforeach()
endfunction()
mosaikon_check_purity()
