# Installation layout and the Debian package.
include(GNUInstallDirs)

foreach(program zerlind-firm-utility zerlind-firm-update zerlind-radio-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

set(ZFU_APP_ID jp.vurn.ZerlindFirmUtility)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${ZFU_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/desktop/${ZFU_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icon in the hicolor theme, at the sizes desktops ask for, and scalable.
foreach(size 16 32 48 256)
  set(icon ${PROJECT_SOURCE_DIR}/resources/icons/zerlind-firm-utility-${size}.png)
  if(EXISTS ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME zerlind-firm-utility.png)
  endif()
endforeach()
if(EXISTS ${PROJECT_SOURCE_DIR}/resources/icons/zerlind-firm-utility.svg)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/zerlind-firm-utility.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# Manual pages go compressed, as man and the distribution expect; -n keeps the name and time
# out of the archive, so the same page always gives the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(ZFU_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zerlind-firm-utility)
function(zfu_install_gzipped source destination name)
  set(out ${CMAKE_BINARY_DIR}/gz/${name}.gz)
  get_filename_component(out_dir ${out} DIRECTORY)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
    COMMAND ${GZIP_PROGRAM} -9n -c ${source} > ${out}
    DEPENDS ${source} VERBATIM)
  string(MAKE_C_IDENTIFIER "gz_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${out})
  install(FILES ${out} DESTINATION ${destination})
endfunction()
foreach(page zerlind-firm-utility.1 zerlind-firm-update.1 zerlind-radio-sim.1)
  zfu_install_gzipped(${PROJECT_SOURCE_DIR}/docs/man/${page} ${CMAKE_INSTALL_MANDIR}/man1 ${page})
  # man picks the Japanese page on a Japanese system.
  zfu_install_gzipped(${PROJECT_SOURCE_DIR}/docs/man/ja/${page} ${CMAKE_INSTALL_MANDIR}/ja/man1 ja/${page})
endforeach()

# The licence in the distribution's machine-readable form, and the changes of every release in
# the format Debian's tools read, made from CHANGELOG.md.
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright DESTINATION ${ZFU_DOC_DIR})
set(ZFU_MAINTAINER "Zerlind Firm Utility developers <firm-utility@vurn.invalid>")
set(debian_changelog ${CMAKE_BINARY_DIR}/debian/changelog)
add_custom_command(OUTPUT ${debian_changelog}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/CHANGELOG.md -DOUTPUT=${debian_changelog}
          -DPACKAGE=zerlind-firm-utility "-DMAINTAINER=${ZFU_MAINTAINER}"
          -P ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/cmake/DebianChangelog.cmake VERBATIM)
zfu_install_gzipped(${debian_changelog} ${ZFU_DOC_DIR} changelog)

# Completion of the command-line programs' options, loaded by bash-completion on demand by the
# command's name: one script serves both.
foreach(program zerlind-firm-update zerlind-radio-sim)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/completion/zerlind.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${program})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zerlind-firm-utility)
set(CPACK_PACKAGE_VENDOR "Vurn Inc.")
set(CPACK_PACKAGE_CONTACT "${ZFU_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Update the firmware of a Zerlind radio over the network")
# The extended description: lines of at most 80 characters, as Debian's policy asks.
set(CPACK_PACKAGE_DESCRIPTION "Zerlind Firm Utility rewrites the main-processor firmware of a
Zerlind radio transceiver over the local network. It comes with a command-line
updater for scripts and fleets of radios, and a radio simulator for tests and
demonstrations.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugin is loaded at run time, not linked; without it no window opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Japanese glyphs and Qt's own Japanese texts are needed at run time, not linked; so is the
# window system plugin that lets the program run natively on Wayland desktops.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n, qt6-wayland")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
