# tovarel_embed(<out.cpp> <symbol> <file>): turns a file into a byte array
# `const unsigned char <symbol>[]` with `const std::size_t <symbol>Size`.
function(tovarel_embed out symbol file)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DIN=${file} -DOUT=${out} -DSYMBOL=${symbol}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    DEPENDS ${file} ${CMAKE_SOURCE_DIR}/cmake/EmbedFileScript.cmake
    VERBATIM)
endfunction()
