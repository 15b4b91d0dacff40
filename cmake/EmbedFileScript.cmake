# Writes the header and the source of tovarel_embed_files from its manifest
# (one name=file a line).
file(STRINGS ${MANIFEST} entries)
set(arrays "")
set(accessors "")
set(declarations "")
set(lookups "")
set(index 0)
foreach(entry ${entries})
  string(FIND "${entry}" "=" at)
  string(SUBSTRING "${entry}" 0 ${at} name)
  math(EXPR from "${at} + 1")
  string(SUBSTRING "${entry}" ${from} -1 file)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" length)
  math(EXPR size "${length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
  # An empty file still needs an array of one byte; its size says 0.
  if(size EQUAL 0)
    set(bytes "0")
  endif()
  string(APPEND arrays "alignas(4) const unsigned char file${index}[] = {\n${bytes}\n};\n")
  set(bytesOf "std::span<const unsigned char>(file${index}, ${size})")
  string(APPEND lookups "  if (name == \"${name}\") return ${bytesOf};\n")
  if(name MATCHES "^[A-Za-z_]")
    string(APPEND declarations "std::span<const unsigned char> ${name}();\n")
    string(APPEND accessors "std::span<const unsigned char> ${name}() { return ${bytesOf}; }\n")
  endif()
  math(EXPR index "${index} + 1")
endforeach()

file(WRITE ${HEADER} "#pragma once
// Made by tovarel_embed_files: files embedded in the program.
#include <span>
#include <string_view>

namespace ${NAMESPACE} {

// The bytes of the file of that name; empty when there is none.
std::span<const unsigned char> Find(std::string_view name);
${declarations}
}  // namespace ${NAMESPACE}
")
file(WRITE ${SOURCE} "#include \"${HEADER_NAME}\"

namespace {

${arrays}
}  // namespace

namespace ${NAMESPACE} {

std::span<const unsigned char> Find(std::string_view name) {
${lookups}  return {};
}

${accessors}
}  // namespace ${NAMESPACE}
")
