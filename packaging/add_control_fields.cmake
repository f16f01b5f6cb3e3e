# Run by CPack after it has made the package: adds the Name and Author fields
# after Package in each package's control file and rebuilds it with dpkg-deb.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  set(tree ${package}.tree)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb --raw-extract ${package} ${tree} COMMAND_ERROR_IS_FATAL ANY)

  file(READ ${tree}/DEBIAN/control control)
  string(REGEX REPLACE "(^|\n)(Package: [^\n]*\n)"
         "\\1\\2Name: ${CPACK_SBKIT_CONTROL_NAME}\nAuthor: ${CPACK_SBKIT_CONTROL_AUTHOR}\n" control "${control}")
  file(WRITE ${tree}/DEBIAN/control "${control}")

  execute_process(COMMAND dpkg-deb --root-owner-group --build ${tree} ${package}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
