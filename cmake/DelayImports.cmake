# Import libraries of system DLLs that load at their first call rather than
# with the program (mingw-w64's delay-load helper): for the DLLs that only a
# user's request needs, such as the file dialogs and COM, so that the start
# does not wait for them. A function missing from the list fails the link.
#   mosaikon_delay_import(<target> <dll> <function>@<argument bytes>...)
# makes <target>, to link in place of the DLL's own import library.
find_program(MOSAIKON_DLLTOOL ${MINGW_PREFIX}-dlltool REQUIRED)

function(mosaikon_delay_import target dll)
  set(def "LIBRARY ${dll}\nEXPORTS\n")
  foreach(function IN LISTS ARGN)
    # 32-bit stdcall names carry their argument bytes; 64-bit names do not.
    if(NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "@[0-9]+$" "" function "${function}")
    endif()
    string(APPEND def "  ${function}\n")
  endforeach()
  set(def_file ${CMAKE_BINARY_DIR}/delay-imports/${target}.def)
  set(library ${CMAKE_BINARY_DIR}/delay-imports/lib${target}.a)
  file(CONFIGURE OUTPUT ${def_file} CONTENT "${def}")
  add_custom_command(OUTPUT ${library}
    COMMAND ${MOSAIKON_DLLTOOL} --kill-at --input-def ${def_file} --output-delaylib ${library}
    DEPENDS ${def_file} VERBATIM)
  add_custom_target(${target}_import_library DEPENDS ${library})
  add_library(${target} INTERFACE)
  target_link_libraries(${target} INTERFACE ${library})
  add_dependencies(${target} ${target}_import_library)
endfunction()

# The common dialogs (Open, Save, Find, colour), wide forms included.
mosaikon_delay_import(mosaikon_comdlg32 comdlg32.dll
  ChooseColorA@4 CommDlgExtendedError@0 FindTextA@4 GetOpenFileNameA@4 GetOpenFileNameW@4 GetSaveFileNameA@4
  GetSaveFileNameW@4)
# COM, entered once the window is up (see shell/win32/main.cpp).
mosaikon_delay_import(mosaikon_ole32 ole32.dll
  CoCreateInstance@20 CoInitialize@4 CoInitializeEx@8 CoTaskMemFree@4 CoUninitialize@0)
