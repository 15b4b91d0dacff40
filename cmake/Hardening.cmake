# Debian's hardening flags for the Linux build, as dpkg-buildflags gives them
# with every hardening feature on: fortified functions, stack protector,
# format checks, read-only relocations bound at start. Packages are made
# from this same build, so they carry them. The optimisation and debug flags
# stay the build type's.
find_program(TOVAREL_DPKG_BUILDFLAGS dpkg-buildflags)
set(hardening_env ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all)
if(TOVAREL_DPKG_BUILDFLAGS)
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(COMMAND ${hardening_env} ${TOVAREL_DPKG_BUILDFLAGS} --get ${kind}
                    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    set(deb_${kind} ${flags})
  endforeach()
else()
  # The same flags as Debian 12's dpkg-buildflags gives, for other systems.
  set(deb_CPPFLAGS -D_FORTIFY_SOURCE=2)
  set(deb_CXXFLAGS -fstack-protector-strong -Wformat -Werror=format-security)
  set(deb_LDFLAGS -Wl,-z,relro -Wl,-z,now)
endif()
foreach(flag IN LISTS deb_CPPFLAGS deb_CXXFLAGS)
  if(flag MATCHES "^-D_FORTIFY_SOURCE")
    # Fortification needs optimisation; a Debug build would only warn.
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:${flag}>)
  elseif(flag MATCHES "^-fstack-protector|^-fstack-clash|^-fcf-protection|^-Wformat|^-Werror=format")
    add_compile_options(${flag})
  endif()
endforeach()
foreach(flag IN LISTS deb_LDFLAGS)
  if(flag MATCHES "^-Wl,-z,")
    add_link_options(${flag})
  endif()
endforeach()
# The build's own folders do not show in what it makes: two builds of one
# commit in different places give the same programs.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
