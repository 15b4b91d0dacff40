# Linux: the installed layout and the Debian package.
#
#   bin/tovarel                         -> ../lib/tovarel/Tovarel.scr
#   bin/tovarel-xscreensaver            adds Tovarel to (or removes it from) ~/.xscreensaver
#   lib/tovarel/Tovarel.scr, Tovarel.dll  side by side: the host starts the
#                                       renderer from the folder of its real file
#   libexec/xscreensaver/tovarel        -> the same program, as a hack
#   libexec/xsecurelock/saver_tovarel   -> the same program, as xsecurelock's saver
#   share/xscreensaver/config/tovarel.xml
#   share/applications/screensavers/tovarel.desktop  mate- and xfce4-screensaver
#   share/applications/tovarel-settings.desktop, share/icons/hicolor/*/apps/tovarel.png
#   share/metainfo/jp.tovarel.Tovarel.metainfo.xml
#   share/man/man1/tovarel.1.gz, tovarel-xscreensaver.1.gz
#   share/fontconfig/conf.avail/65-tovarel-ms-pgothic.conf, linked from
#   etc/fonts/conf.d (/etc for a /usr install)
set(TOVAREL_PROGRAM_DIR lib/tovarel)
set(TOVAREL_HACK_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver CACHE STRING
    "Where xscreensaver looks for its hacks, relative to the prefix")
set(TOVAREL_XSECURELOCK_DIR ${CMAKE_INSTALL_LIBEXECDIR}/xsecurelock CACHE STRING
    "Where xsecurelock looks for its saver_* programs, relative to the prefix")
set(fontconfig_name 65-tovarel-ms-pgothic.conf)
set(fontconfig_file ${PROJECT_SOURCE_DIR}/saver/dialog/fontconfig/${fontconfig_name})
set(linux_dir ${CMAKE_CURRENT_SOURCE_DIR}/linux)
set(generated ${CMAKE_CURRENT_BINARY_DIR}/generated)
file(MAKE_DIRECTORY ${generated})

install(TARGETS tovarel_saver tovarel_renderer RUNTIME DESTINATION ${TOVAREL_PROGRAM_DIR})
# The music backend, a module the saver loads from its own folder
# (below it, so that the package is no library to ldconfig).
install(TARGETS tovarel_music_module LIBRARY DESTINATION ${TOVAREL_PROGRAM_DIR}/music
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# Debian's packages carry no compiler version notes; strip leaves them in.
if(CMAKE_OBJCOPY)
  install(CODE "
    foreach(program Tovarel.scr Tovarel.dll music/tovarel-music.so)
      execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TOVAREL_PROGRAM_DIR}/\${program}\" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
  ")
endif()
install(PROGRAMS ${linux_dir}/tovarel-xscreensaver DESTINATION ${CMAKE_INSTALL_BINDIR})

# Links relative to where they lie, so the tree can be moved or unpacked anywhere.
function(tovarel_install_link name target destination)
  file(RELATIVE_PATH relative /${destination} /${target})
  file(CREATE_LINK ${relative} ${generated}/${name} SYMBOLIC)
  install(FILES ${generated}/${name} DESTINATION ${destination})
endfunction()
tovarel_install_link(tovarel ${TOVAREL_PROGRAM_DIR}/Tovarel.scr ${CMAKE_INSTALL_BINDIR})
file(MAKE_DIRECTORY ${generated}/hack)
tovarel_install_link(hack/tovarel ${TOVAREL_PROGRAM_DIR}/Tovarel.scr ${TOVAREL_HACK_DIR})
install(FILES ${linux_dir}/tovarel.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
file(MAKE_DIRECTORY ${generated}/xsecurelock)
tovarel_install_link(xsecurelock/saver_tovarel ${TOVAREL_PROGRAM_DIR}/Tovarel.scr ${TOVAREL_XSECURELOCK_DIR})
install(FILES ${linux_dir}/tovarel-screensaver.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers
        RENAME tovarel.desktop)
install(FILES ${linux_dir}/jp.tovarel.Tovarel.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${linux_dir}/tovarel-settings.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${fontconfig_file} DESTINATION ${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail)
# fontconfig reads /etc/fonts/conf.d; /usr has its configuration in /etc,
# linked to it by an absolute path as links between /etc and /usr are.
install(CODE "
  set(prefix \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  if(prefix MATCHES \"/usr/?\$\")
    set(confd \"\${prefix}/../etc/fonts/conf.d\")
    set(target \"/usr/${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail/${fontconfig_name}\")
  else()
    set(confd \"\${prefix}/etc/fonts/conf.d\")
    set(target \"../../../${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail/${fontconfig_name}\")
  endif()
  file(MAKE_DIRECTORY \"\${confd}\")
  message(STATUS \"Installing: \${confd}/${fontconfig_name}\")
  file(CREATE_LINK \"\${target}\" \"\${confd}/${fontconfig_name}\" SYMBOLIC)
")

# The man pages, the Debian change log and the icons are made at build time.
foreach(page tovarel tovarel-xscreensaver)
  add_custom_command(OUTPUT ${generated}/${page}.1.gz
    COMMAND gzip -9 -n -c ${linux_dir}/${page}.1 > ${generated}/${page}.1.gz
    DEPENDS ${linux_dir}/${page}.1 VERBATIM)
endforeach()
add_custom_command(OUTPUT ${generated}/changelog.gz
  COMMAND gzip -9 -n -c ${linux_dir}/changelog > ${generated}/changelog.gz
  DEPENDS ${linux_dir}/changelog VERBATIM)
set(icon_file ${PROJECT_SOURCE_DIR}/saver/dialog/resources/tovarel.ico)
add_custom_command(OUTPUT ${generated}/tovarel.png
  COMMAND ico_to_png ${icon_file} ${generated}/tovarel.png
  DEPENDS ico_to_png ${icon_file} VERBATIM)
set(icon_sizes 48 64 128 256)
set(desktop_icons)
foreach(size ${icon_sizes})
  list(APPEND desktop_icons ${generated}/icons/${size}x${size}/tovarel.png)
endforeach()
add_custom_command(OUTPUT ${desktop_icons}
  COMMAND make_desktop_icons ${generated}/icons
  DEPENDS make_desktop_icons VERBATIM)
add_custom_target(linux_install_files ALL
  DEPENDS ${generated}/tovarel.1.gz ${generated}/tovarel-xscreensaver.1.gz ${generated}/changelog.gz
          ${generated}/tovarel.png ${desktop_icons})
install(FILES ${generated}/tovarel.1.gz ${generated}/tovarel-xscreensaver.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${generated}/tovarel.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
foreach(size ${icon_sizes})
  install(FILES ${generated}/icons/${size}x${size}/tovarel.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${linux_dir}/copyright ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovarel)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_NAME tovarel)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://tovarel.jp/)
set(CPACK_PACKAGE_DESCRIPTION "Two slowly turning sky layers fill the screen while forty glowing
butterflies drift down through them, circling and beating their wings. Music
can play behind it: nothing, an audio CD, or an MP3 or WAV file.
.
Runs by itself (tovarel /s), under xscreensaver as a display hack
(tovarel-xscreensaver add lists it), as a saver of xsecurelock,
mate-screensaver and xfce4-screensaver, or from idle daemons such as
xss-lock and xautolock.")
# Libraries as dpkg-shlibdeps finds them (Xlib, RandR, the screen saver
# extension, GLX, GLU, Qt 6 Widgets, GStreamer, libcdio); what is loaded at
# run time (Qt its platform plugin, GStreamer its plugins) and the font are
# named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libgl1, qt6-qpa-plugins, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-ugly, fonts-ipafont-gothic")
# The dialog's web address opens through the desktop's URL handler.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | xsecurelock | mate-screensaver | xss-lock | xautolock")
