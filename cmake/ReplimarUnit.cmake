# Adds a source folder's files: those in pure/ (no <windows.h>) to replimar_core,
# the others to the Win32 shell.
function(replimar_add_unit)
  file(GLOB _pure CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/pure/*.cpp)
  target_sources(replimar_core PRIVATE ${_pure})
  if(WIN32)
    file(GLOB _win CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    target_sources(replimar_shell PRIVATE ${_win})
  endif()
endfunction()
