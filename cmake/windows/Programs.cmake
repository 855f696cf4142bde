# What makes the three programs Windows programs: version information, the program's icon 128 and
# a manifest in each; the window program runs in the GUI subsystem (no console window behind it),
# the command line and the simulator stay console programs.
function(zfu_windows_resources target description)
  set(ZFU_RC_FILE_NAME ${target})
  set(ZFU_RC_DESCRIPTION "${description}")
  set(ZFU_RC_MANIFEST ${CMAKE_BINARY_DIR}/windows/${target}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.manifest.in ${ZFU_RC_MANIFEST} @ONLY)
  set(rc ${CMAKE_BINARY_DIR}/windows/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
  # The resource compiler reads the manifest and the icon: a change to either rebuilds the resource.
  set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES OBJECT_DEPENDS
    "${ZFU_RC_MANIFEST};${PROJECT_SOURCE_DIR}/resources/icons/zerlind-firm-utility.ico")
endfunction()

zfu_windows_resources(zerlind-firm-utility "Zerlind Firm Utility")
set_target_properties(zerlind-firm-utility PROPERTIES WIN32_EXECUTABLE ON)
zfu_windows_resources(zerlind-firm-update "Zerlind Firm Utility, command line")
zfu_windows_resources(zerlind-radio-sim "Zerlind radio simulator")
