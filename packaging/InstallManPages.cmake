# Run at install time: the manual pages name the folder of the installed
# examples, which is known only now (cmake --install --prefix DIR, or /usr
# when CPack builds the package).  Debian wants them compressed; -n leaves
# out the name and time stamp, so the package is reproducible.  Each install
# works in a folder of its own, so that two at once cannot mix their pages.
set(RESHEAT_EXAMPLES_DIR "${CMAKE_INSTALL_PREFIX}/${RESHEAT_DOCDIR}/examples")
string(RANDOM LENGTH 12 work)
set(work "${RESHEAT_PACKAGING_BINARY_DIR}/man-${work}")
foreach(page resheat.1 resheat-calc.1)
  configure_file(${RESHEAT_PACKAGING_SOURCE_DIR}/${page}.in ${work}/${page} @ONLY)
  execute_process(COMMAND ${RESHEAT_GZIP} -9 -n -c ${work}/${page} OUTPUT_FILE ${work}/${page}.gz
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Cannot compress the manual page ${page}: ${status}")
  endif()
  file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${RESHEAT_MANDIR}/man1" TYPE FILE FILES ${work}/${page}.gz)
endforeach()
file(REMOVE_RECURSE ${work})
