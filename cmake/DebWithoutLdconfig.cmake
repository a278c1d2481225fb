# Runs after CPack has made the Debian package. CPack gives a package that
# holds a shared object in a folder under /usr/lib (the CLAP module in
# /usr/lib/clap) postinst and postrm scripts that call ldconfig; a plug-in is
# no library the dynamic linker looks up, and lintian rightly warns of the
# calls. The package is made again from its own contents without them.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(root ${CPACK_TOPLEVEL_DIRECTORY}/deb-without-ldconfig)
  file(REMOVE_RECURSE ${root})
  execute_process(COMMAND dpkg-deb -R ${deb} ${root} COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE ${root}/DEBIAN/postinst ${root}/DEBIAN/postrm)
  execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip -b ${root} ${deb}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${root})
endforeach()
