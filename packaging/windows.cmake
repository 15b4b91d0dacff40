# Windows: both programs and the read-me side by side, zipped by CPack; and
# an installer made with NSIS (makensis runs on Linux too).
install(TARGETS tovarel_saver tovarel_renderer RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Tovarel-${PROJECT_VERSION}-windows)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

find_program(TOVAREL_MAKENSIS makensis)
if(TOVAREL_MAKENSIS)
  set(setup ${CMAKE_BINARY_DIR}/Tovarel-${PROJECT_VERSION}-setup.exe)
  set(nsi ${CMAKE_CURRENT_SOURCE_DIR}/windows/tovarel.nsi)
  # The installer carries the programs stripped, as the ZIP does.
  set(staged ${CMAKE_BINARY_DIR}/installer)
  add_custom_command(OUTPUT ${setup}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}
    COMMAND ${CMAKE_STRIP} -o ${staged}/Tovarel.scr $<TARGET_FILE:tovarel_saver>
    COMMAND ${CMAKE_STRIP} -o ${staged}/Tovarel.dll $<TARGET_FILE:tovarel_renderer>
    COMMAND ${TOVAREL_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION}
            -DSCR=${staged}/Tovarel.scr -DDLL=${staged}/Tovarel.dll
            -DOUTFILE=${setup} ${nsi}
    DEPENDS tovarel_saver tovarel_renderer ${nsi}
    COMMENT "Making the installer Tovarel-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
  add_custom_target(windows_installer ALL DEPENDS ${setup})
else()
  message(STATUS "makensis not found: no Windows installer (Debian package nsis)")
endif()
