# What makes the three programs Windows programs: version information in each, icon 128 in the
# window program, which runs in the GUI subsystem (no console window behind it); the command
# line and the simulator stay console programs.
function(zfu_windows_resources target description with_icon)
  set(ZFU_RC_FILE_NAME ${target})
  set(ZFU_RC_DESCRIPTION "${description}")
  set(ZFU_RC_WITH_ICON ${with_icon})
  set(rc ${CMAKE_BINARY_DIR}/windows/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

zfu_windows_resources(zerlind-firm-utility "Zerlind Firm Utility" ON)
set_target_properties(zerlind-firm-utility PROPERTIES WIN32_EXECUTABLE ON)
zfu_windows_resources(zerlind-firm-update "Zerlind Firm Utility, command line" OFF)
zfu_windows_resources(zerlind-radio-sim "Zerlind radio simulator" OFF)
