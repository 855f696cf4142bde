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

foreach(page zerlind-firm-update.1 zerlind-radio-sim.1)
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs/man/${page})
    install(FILES ${PROJECT_SOURCE_DIR}/docs/man/${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zerlind-firm-utility)
set(CPACK_PACKAGE_VENDOR "Vurn Inc.")
set(CPACK_PACKAGE_CONTACT "Zerlind Firm Utility developers <firm-utility@vurn.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Update the firmware of a Zerlind radio over the network")
set(CPACK_PACKAGE_DESCRIPTION "Zerlind Firm Utility rewrites the main-processor firmware of a Zerlind
radio transceiver over the local network. It comes with a command-line updater for scripts and a
radio simulator for tests and demonstrations.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window system plugin is loaded at run time, not linked; without it no window opens.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Japanese glyphs and Qt's own Japanese texts are needed at run time, not linked.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
