# tovarel_embed_files(<target> NAMESPACE <ns> HEADER <header> FILES <name> <file> [<name> <file>...])
#
# Makes the static library <target> that holds every file as a byte array,
# and the header <header>, included as written (it is made under
# ${PROJECT_BINARY_DIR}/embedded, which <target> adds to its users' include
# path). The header declares, in namespace <ns>:
#   std::span<const unsigned char> Find(std::string_view name);  // empty if none
#   std::span<const unsigned char> <name>();  // for each name that is an identifier
# Relative file names are read from the calling folder.
function(tovarel_embed_files target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "NAMESPACE;HEADER" "FILES")
  list(LENGTH arg_FILES count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd OR NOT arg_NAMESPACE OR NOT arg_HEADER)
    message(FATAL_ERROR "tovarel_embed_files(${target}): NAMESPACE, HEADER and name/file pairs are needed")
  endif()
  set(root ${PROJECT_BINARY_DIR}/embedded)
  set(header ${root}/${arg_HEADER})
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.cpp)
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded.list)
  set(lines "")
  set(files "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET arg_FILES ${i} name)
    list(GET arg_FILES ${j} file)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} NORMALIZE)
    if(NOT name MATCHES "^[A-Za-z0-9_]+$")
      message(FATAL_ERROR "tovarel_embed_files(${target}): '${name}' is not a name")
    endif()
    string(APPEND lines "${name}=${file}\n")
    list(APPEND files ${file})
  endforeach()
  file(CONFIGURE OUTPUT ${manifest} CONTENT "${lines}" @ONLY)
  set(script ${PROJECT_SOURCE_DIR}/cmake/EmbedFileScript.cmake)
  add_custom_command(
    OUTPUT ${header} ${source}
    COMMAND ${CMAKE_COMMAND} -DMANIFEST=${manifest} -DHEADER=${header} -DHEADER_NAME=${arg_HEADER}
            -DSOURCE=${source} -DNAMESPACE=${arg_NAMESPACE} -P ${script}
    DEPENDS ${files} ${manifest} ${script}
    VERBATIM)
  add_library(${target} STATIC ${header} ${source})
  target_include_directories(${target} PUBLIC ${root})
  target_compile_features(${target} PUBLIC cxx_std_20)
endfunction()
