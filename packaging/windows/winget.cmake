# cmake -DVERSION=.. -DINSTALLER=.. -DSOURCE_DIR=.. -DOUTPUT_DIR=.. -P winget.cmake
# Writes the winget manifest of the built installer: its SHA-256 and the
# release date, the date of the commit it was built from.
file(SHA256 "${INSTALLER}" INSTALLER_SHA256)
string(TOUPPER "${INSTALLER_SHA256}" INSTALLER_SHA256)
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git -C "${SOURCE_DIR}" log -1 --format=%ct
                  OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoch MATCHES "^[0-9]+$")
  message(FATAL_ERROR "winget manifest: no commit date (set SOURCE_DATE_EPOCH)")
endif()
set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
string(TIMESTAMP RELEASE_DATE "%Y-%m-%d" UTC)
file(GLOB templates "${SOURCE_DIR}/packaging/windows/winget/*.yaml.in")
foreach(template ${templates})
  get_filename_component(name "${template}" NAME_WLE)
  configure_file("${template}" "${OUTPUT_DIR}/${name}" @ONLY NEWLINE_STYLE UNIX)
endforeach()
