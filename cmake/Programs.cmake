# Helpers for the Windows programs of the build.

# A GUI program whose entry is wWinMain.
function(ov_gui_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  target_link_options(${target} PRIVATE -municode)
endfunction()

# A console program whose entry is wmain.
function(ov_console_program target)
  target_link_options(${target} PRIVATE -municode)
endfunction()

# Gives a program a version resource with the numbers major.minor.patch.build.
function(ov_version_resource target description major minor patch build)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  file(WRITE ${rc} "#include \"${PROJECT_SOURCE_DIR}/cmake/Version.rc\"\n")
  target_sources(${target} PRIVATE ${rc})
  set_source_files_properties(${rc} PROPERTIES COMPILE_DEFINITIONS
    "OV_MAJOR=${major};OV_MINOR=${minor};OV_PATCH=${patch};OV_BUILD=${build};OV_DESCRIPTION=${description}")
endfunction()
