# The Windows programs that the Wine tests drive from the Linux side, built
# by the Windows build. The tests' tree owns them; the products' CMake files
# never add a test folder.
foreach(dir renderer/wine/win32 saver/wine/win32 saver/music/win32)
  if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${CMAKE_CURRENT_LIST_DIR}/${dir} ${PROJECT_BINARY_DIR}/tests/${dir})
  endif()
endforeach()
