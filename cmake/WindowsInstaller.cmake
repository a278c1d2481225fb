# The Windows installer and a portable zip of the same files, made with every
# Windows build into its installer/ folder (./run.sh copies them to out/):
# KELDRA-<version>-win64-setup.exe (Debian's nsis) and KELDRA-<version>-win64.zip.
find_program(KELDRA_MAKENSIS makensis REQUIRED)
set(KELDRA_INSTALLER_DIR ${CMAKE_BINARY_DIR}/installer)
set(KELDRA_INSTALLER ${KELDRA_INSTALLER_DIR}/KELDRA-${PROJECT_VERSION}-win64-setup.exe)
# The CLAP plug-in goes in when this build makes one.
set(clap_module)
if(TARGET keldra_clap_module)
  set(clap_module $<TARGET_FILE:keldra_clap_module>)
endif()
add_custom_target(windows_installer ALL
  COMMAND ${PROJECT_SOURCE_DIR}/packaging/make-windows-installer.sh
          ${CMAKE_BINARY_DIR} ${KELDRA_INSTALLER_DIR} ${PROJECT_VERSION} ${CMAKE_STRIP} ${clap_module}
  BYPRODUCTS ${KELDRA_INSTALLER}
  COMMENT "Making the Windows installer and zip"
  VERBATIM)
add_dependencies(windows_installer keldra_vst3_module keldra-render)
if(TARGET keldra_clap_module)
  add_dependencies(windows_installer keldra_clap_module)
endif()
