# Windows: both programs and the read-me side by side, zipped by CPack; and
# an installer made with NSIS (makensis runs on Linux too).
#
# Both packages carry the same stripped copies, made at build time. strip
# writes the current time into a PE header unless told to keep the old
# one (-p): the link leaves it 0, so two builds give the same files.
set(staged ${CMAKE_BINARY_DIR}/installer)
set(stripped ${staged}/Tovarel.scr ${staged}/Tovarel.dll)
add_custom_command(OUTPUT ${stripped}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}
  COMMAND ${CMAKE_STRIP} -p -o ${staged}/Tovarel.scr $<TARGET_FILE:tovarel_saver>
  COMMAND ${CMAKE_STRIP} -p -o ${staged}/Tovarel.dll $<TARGET_FILE:tovarel_renderer>
  DEPENDS tovarel_saver tovarel_renderer
  VERBATIM)
add_custom_target(windows_stripped ALL DEPENDS ${stripped})
install(PROGRAMS ${stripped} DESTINATION .)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/windows/README.txt DESTINATION .)
set(CPACK_STRIP_FILES OFF)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME Tovarel-${PROJECT_VERSION}-windows)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

find_program(TOVAREL_MAKENSIS makensis)
if(TOVAREL_MAKENSIS)
  set(setup ${CMAKE_BINARY_DIR}/Tovarel-${PROJECT_VERSION}-setup.exe)
  set(nsi ${CMAKE_CURRENT_SOURCE_DIR}/windows/tovarel.nsi)
  add_custom_command(OUTPUT ${setup}
    COMMAND ${TOVAREL_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION}
            -DSCR=${staged}/Tovarel.scr -DDLL=${staged}/Tovarel.dll
            -DOUTFILE=${setup} ${nsi}
    DEPENDS ${stripped} ${nsi}
    COMMENT "Making the installer Tovarel-${PROJECT_VERSION}-setup.exe"
    VERBATIM)
  # The winget manifest of this installer, in the layout of the winget
  # package repository.
  file(GLOB winget_templates ${CMAKE_CURRENT_SOURCE_DIR}/windows/winget/*.yaml.in)
  set(winget_dir ${CMAKE_BINARY_DIR}/winget/manifests/t/Tovarel/Tovarel/${PROJECT_VERSION})
  add_custom_command(OUTPUT ${winget_dir}/Tovarel.Tovarel.installer.yaml
    COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DINSTALLER=${setup}
            -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DOUTPUT_DIR=${winget_dir}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/winget.cmake
    DEPENDS ${setup} ${CMAKE_CURRENT_SOURCE_DIR}/windows/winget.cmake ${winget_templates}
    COMMENT "Writing the winget manifest"
    VERBATIM)
  add_custom_target(windows_installer ALL DEPENDS ${setup} ${winget_dir}/Tovarel.Tovarel.installer.yaml)
else()
  message(STATUS "makensis not found: no Windows installer (Debian package nsis)")
endif()
