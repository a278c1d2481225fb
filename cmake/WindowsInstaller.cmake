# The Windows installer and a portable zip of the same files, made with every
# Windows build into its installer/ folder (./run.sh copies them to out/):
# KELDRA-<version>-win64-setup.exe (Debian's nsis) and KELDRA-<version>-win64.zip.
find_program(KELDRA_MAKENSIS makensis REQUIRED)
set(KELDRA_WINDOWS_PACKAGING ${PROJECT_SOURCE_DIR}/packaging/windows)

# Every shipped binary carries the product's name, maker and version, from
# the project's version: what Explorer shows under Properties > Details.
# keldra_version_resource(TARGET FILE_NAME DESCRIPTION FILE_TYPE [extra resource lines])
function(keldra_version_resource target KELDRA_FILE_NAME KELDRA_FILE_DESCRIPTION KELDRA_FILE_TYPE)
  string(JOIN "\n" KELDRA_EXTRA_RESOURCES ${ARGN})
  set(script ${CMAKE_BINARY_DIR}/version-resources/${target}.rc)
  configure_file(${KELDRA_WINDOWS_PACKAGING}/version.rc.in ${script} @ONLY)
  target_sources(${target} PRIVATE ${script})
endfunction()
# The program asks for no elevation and takes long paths (its manifest), and
# shows KELDRA's icon.
configure_file(${KELDRA_WINDOWS_PACKAGING}/keldra-render.manifest
               ${CMAKE_BINARY_DIR}/version-resources/keldra-render.manifest @ONLY)
keldra_version_resource(keldra-render keldra-render.exe "KELDRA command-line renderer" VFT_APP
  "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"${CMAKE_BINARY_DIR}/version-resources/keldra-render.manifest\""
  "KELDRA ICON \"${KELDRA_WINDOWS_PACKAGING}/keldra.ico\"")
set_source_files_properties(${CMAKE_BINARY_DIR}/version-resources/keldra-render.rc
  TARGET_DIRECTORY keldra-render PROPERTIES OBJECT_DEPENDS
  "${CMAKE_BINARY_DIR}/version-resources/keldra-render.manifest;${KELDRA_WINDOWS_PACKAGING}/keldra.ico")
keldra_version_resource(keldra_vst3_module KELDRA.vst3 "KELDRA VST3 plug-in" VFT_DLL)
if(TARGET keldra_clap_module)
  keldra_version_resource(keldra_clap_module KELDRA.clap "KELDRA CLAP plug-in" VFT_DLL)
endif()

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
add_dependencies(windows_installer keldra_vst3_module keldra-render keldra_vst3_presets)
if(TARGET keldra_clap_module)
  add_dependencies(windows_installer keldra_clap_module)
endif()
