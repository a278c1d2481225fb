# The Debian package: `cpack` in the release build makes
# keldra_<version>_amd64.deb (in the arm64 build keldra_<version>_arm64.deb)
# with the bundle and its factory presets where Linux VST3 hosts look
# system-wide, keldra-render, its
# manual page, the copyright and changelog.

install(TARGETS keldra_vst3_module
  LIBRARY DESTINATION lib/vst3/KELDRA.vst3/Contents/${KELDRA_BUNDLE_LINUX_FOLDER}
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(TARGETS keldra-render RUNTIME DESTINATION bin)
# The factory presets, where VST3 hosts on Linux look for a maker's presets.
install(DIRECTORY ${KELDRA_VST3_PRESET_DIR}/ DESTINATION share/vst3/presets/Brackenfold/KELDRA
  FILES_MATCHING PATTERN "*.vstpreset")
# The CLAP plug-in, where Linux CLAP hosts look system-wide.
install(TARGETS keldra_clap_module
  LIBRARY DESTINATION lib/clap
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)

# The LV2 bundle, where Linux LV2 hosts look system-wide: the module beside
# its Turtle description.
install(TARGETS keldra_lv2_module
  LIBRARY DESTINATION lib/lv2/keldra.lv2
  PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(DIRECTORY ${KELDRA_LV2_BUNDLE_DIR}/ DESTINATION lib/lv2/keldra.lv2 FILES_MATCHING PATTERN "*.ttl")

# Debian wants manual pages and changelogs compressed to the maximum, without
# a time stamp, so the package is the same from build to build.
set(KELDRA_PACKAGE_DOCS ${CMAKE_BINARY_DIR}/packaging)
set(KELDRA_COMPRESSED_DOCS)
foreach(doc tools/keldra-render.1 packaging/changelog)
  get_filename_component(name ${doc} NAME)
  set(compressed ${KELDRA_PACKAGE_DOCS}/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KELDRA_PACKAGE_DOCS}
    COMMAND gzip -9 -n -c ${CMAKE_SOURCE_DIR}/${doc} > ${compressed}
    DEPENDS ${CMAKE_SOURCE_DIR}/${doc}
    VERBATIM)
  list(APPEND KELDRA_COMPRESSED_DOCS ${compressed})
endforeach()
add_custom_target(keldra_package_docs ALL DEPENDS ${KELDRA_COMPRESSED_DOCS})
install(FILES ${KELDRA_PACKAGE_DOCS}/keldra-render.1.gz DESTINATION share/man/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${KELDRA_PACKAGE_DOCS}/changelog.gz
  DESTINATION share/doc/keldra)

# The package holds only what the build made; making it builds nothing.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keldra)
set(CPACK_PACKAGE_VENDOR Brackenfold)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "aarch64|arm64")
  # Made with DEB_HOST_ARCH=arm64 in the environment, so that dpkg-shlibdeps
  # reads the arm64 libraries' dependency information through multiarch.
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
else()
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brackenfold <support@brackenfold.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.brackenfold.com/product/keldra/)
# The libraries the binaries need, found by dpkg-shlibdeps, never listed by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "analog tone-shaping audio effect (VST3, LV2)")
# The extended description: CPack indents each line and marks empty ones.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "KELDRA is a stereo audio effect modelling an analog tone-shaping
circuit: a little oversampled saturation, then a high shelf, a sweepable
high-pass and low-pass, a mid bell, a low shelf and an output gain, with
an editor that shows the circuit's front panel.

The VST3 and LV2 bundles install where Linux hosts look system-wide. The
keldra-render command renders audio files, the front panel and frequency
response plots through the plug-in offline.")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/DebWithoutLdconfig.cmake)
include(CPack)
