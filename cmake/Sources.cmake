# Collects a folder's sources into the shared core library. Portable files sit
# directly in the folder; platform files sit in win32/ (Windows builds) or
# posix/ (native builds) below it.
function(mosaikon_add_folder_sources target)
  file(GLOB portable CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(WIN32)
    file(GLOB platform CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
  else()
    file(GLOB platform CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/posix/*.cpp)
  endif()
  target_sources(${target} PRIVATE ${portable} ${platform})
endfunction()
