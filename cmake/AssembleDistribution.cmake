# cmake -P script: lays out a distribution folder (DIST) from the built programs.
file(REMOVE_RECURSE ${DIST})
foreach(folder "Kestrel Deck" "Kestrel Deck/Skins/Standard View" "System/Check Version" "System/Always Overwrite"
               "Fonts" "Support" "Library" "Setup")
  file(MAKE_DIRECTORY "${DIST}/${folder}")
endforeach()
file(COPY_FILE ${SETUP} "${DIST}/Setup.exe")
file(COPY_FILE ${TOOLS} "${DIST}/Kestrel Deck/OvTools.dll")
file(COPY_FILE ${SOURCE}/ProductInfo.ini "${DIST}/Kestrel Deck/ProductInfo.ini")
file(COPY_FILE ${MAIN} "${DIST}/Kestrel Deck/Aurora Hall.exe")
file(COPY_FILE ${LAUNCHER} "${DIST}/System/Always Overwrite/Aurora Core Launcher.exe")
file(COPY_FILE ${SOURCE}/license.txt "${DIST}/license.txt")
file(COPY_FILE ${SOURCE}/Install.xml "${DIST}/Install.xml")
