# Assembles the sample distribution in build/sample-dist: the installer at its root as Setup.exe,
# the product's files in the distribution layout.
set(OV_SAMPLE_DIST ${CMAKE_BINARY_DIR}/sample-dist)
set(OV_SAMPLE_SOURCE ${PROJECT_SOURCE_DIR}/Product/SampleDistribution)

add_custom_target(sample-dist ALL
  COMMAND ${CMAKE_COMMAND}
    -DDIST=${OV_SAMPLE_DIST}
    -DSOURCE=${OV_SAMPLE_SOURCE}
    -DSETUP=$<TARGET_FILE:Setup>
    -DTOOLS=$<TARGET_FILE:OvTools>
    -DIMAGE=$<TARGET_FILE:OvImage>
    -DREADER=$<TARGET_FILE:OvReader>
    -DMAIN=$<TARGET_FILE:AuroraHallMain>
    -DLAUNCHER=$<TARGET_FILE:AuroraCoreLauncher>
    -P ${PROJECT_SOURCE_DIR}/cmake/AssembleDistribution.cmake
  DEPENDS Setup OvTools OvImage OvReader AuroraHallMain AuroraCoreLauncher
  COMMENT "Assembling the sample distribution"
  VERBATIM)
