# Run at install time, when the prefix is known (cmake --install --prefix
# DIR, or /usr when CPack or debhelper builds the package), for the files
# that name installed paths or depend on the prefix: the manual pages (the
# examples, the property tables, the user guide), the launcher (the program
# outside /usr) and the user guide (compressed in /usr).  They
# are made in a private temporary folder, never in the build folder, which
# may be read-only.  Installed outside /usr and not into a staging folder
# (DESTDIR), the prefix's MIME and desktop databases are refreshed, so that
# case files open in ResHeat at once; a package leaves that to the triggers
# of the packages that own the databases.
#
# Set by the install rule: RESHEAT_PACKAGING_SOURCE_DIR, RESHEAT_DEBIAN_DIR,
# RESHEAT_GUIDE_SOURCE, RESHEAT_GZIP, RESHEAT_BINDIR, RESHEAT_DATADIR,
# RESHEAT_DOCDIR, RESHEAT_MANDIR, RESHEAT_MATERIALSDIR (relative to the
# prefix or absolute), PROJECT_VERSION.

function(resheat_full_path out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

# A program path as the Exec key of a desktop entry wants it: quoted when it
# holds a reserved character, with the quoting rules' escapes, then escaped
# as every string value is.
function(resheat_desktop_exec_arg out path)
  string(REPLACE "%" "%%" arg "${path}")
  if(arg MATCHES "[ \t\n\"'\\><~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" arg "${arg}")
    set(arg "\"${arg}\"")
  endif()
  string(REPLACE "\\" "\\\\" arg "${arg}")
  set(${out} "${arg}" PARENT_SCOPE)
endfunction()

# A path as a string value of a desktop entry (TryExec).
function(resheat_desktop_string out path)
  string(REPLACE "\\" "\\\\" value "${path}")
  string(REPLACE "\n" "\\n" value "${value}")
  string(REPLACE "\t" "\\t" value "${value}")
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

cmake_path(NORMAL_PATH CMAKE_INSTALL_PREFIX OUTPUT_VARIABLE prefix)
string(REGEX REPLACE "(.)/$" "\\1" prefix "${prefix}")
resheat_full_path(bindir "${RESHEAT_BINDIR}")
resheat_full_path(datadir "${RESHEAT_DATADIR}")
resheat_full_path(docdir "${RESHEAT_DOCDIR}")
resheat_full_path(mandir "${RESHEAT_MANDIR}")
resheat_full_path(RESHEAT_MATERIALS_DIR "${RESHEAT_MATERIALSDIR}")
set(RESHEAT_EXAMPLES_DIR "${docdir}/examples")
# /usr is the package's (CPack's, debhelper's) or the system's.
if(prefix STREQUAL "/usr")
  set(package_layout TRUE)
else()
  set(package_layout FALSE)
endif()
# A package compresses its documentation (Debian Policy 12.3); a user's own
# installation keeps the guide readable as it is.
if(package_layout)
  set(guide_name user-guide.md.gz)
else()
  set(guide_name user-guide.md)
endif()
set(RESHEAT_GUIDE "${docdir}/${guide_name}")
# In the pages' roff a path's backslashes and hyphens are escaped, so that
# it reads and copies as typed.
foreach(var RESHEAT_MATERIALS_DIR RESHEAT_EXAMPLES_DIR RESHEAT_GUIDE)
  string(REPLACE "\\" "\\e" ${var} "${${var}}")
  string(REPLACE "-" "\\-" ${var} "${${var}}")
endforeach()

if(DEFINED ENV{TMPDIR} AND IS_DIRECTORY "$ENV{TMPDIR}")
  set(tmp "$ENV{TMPDIR}")
else()
  set(tmp /tmp)
endif()
string(RANDOM LENGTH 12 name)
set(work "${tmp}/resheat-install-${name}")
file(MAKE_DIRECTORY "${work}")

# Compressed as Debian wants it (-n: no name or time stamp, so that the
# package is reproducible).
function(resheat_gzip in out)
  execute_process(COMMAND "${RESHEAT_GZIP}" -9 -n -c "${in}" OUTPUT_FILE "${out}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    file(REMOVE_RECURSE "${work}")
    message(FATAL_ERROR "Cannot compress ${in}: ${status}")
  endif()
endfunction()

foreach(page resheat.1 resheat-calc.1)
  configure_file("${RESHEAT_PACKAGING_SOURCE_DIR}/${page}.in" "${work}/${page}" @ONLY)
  resheat_gzip("${work}/${page}" "${work}/${page}.gz")
  file(INSTALL DESTINATION "${mandir}/man1" TYPE FILE FILES "${work}/${page}.gz")
endforeach()

if(package_layout)
  resheat_gzip("${RESHEAT_GUIDE_SOURCE}" "${work}/${guide_name}")
  file(INSTALL DESTINATION "${docdir}" TYPE FILE FILES "${work}/${guide_name}")
else()
  file(INSTALL DESTINATION "${docdir}" TYPE FILE FILES "${RESHEAT_GUIDE_SOURCE}")
endif()

# The launcher starts the program by its name in /usr, whose bin folder is on
# every session's PATH, and by its full path anywhere else.
file(READ "${RESHEAT_PACKAGING_SOURCE_DIR}/resheat.desktop" entry)
if(NOT package_layout)
  resheat_desktop_exec_arg(exec "${bindir}/resheat")
  resheat_desktop_string(tryexec "${bindir}/resheat")
  string(REPLACE "\nExec=resheat " "\nExec=${exec} " entry "${entry}")
  string(REPLACE "\nTryExec=resheat\n" "\nTryExec=${tryexec}\n" entry "${entry}")
endif()
file(WRITE "${work}/resheat.desktop" "${entry}")
file(INSTALL DESTINATION "${datadir}/applications" TYPE FILE FILES "${work}/resheat.desktop")

# In /usr, as a package, the notes for lintian go with it (debhelper installs
# the same file from debian/).
if(package_layout)
  file(INSTALL DESTINATION "${datadir}/lintian/overrides" TYPE FILE
       FILES "${RESHEAT_DEBIAN_DIR}/resheat.lintian-overrides" RENAME resheat)
endif()
file(REMOVE_RECURSE "${work}")

if("$ENV{DESTDIR}" STREQUAL "" AND NOT package_layout)
  foreach(tool_dir "update-mime-database|mime" "update-desktop-database|applications")
    unset(tool_path)
    string(REPLACE "|" ";" tool_dir "${tool_dir}")
    list(GET tool_dir 0 tool)
    list(GET tool_dir 1 dir)
    find_program(tool_path ${tool} NO_CACHE)
    if(NOT tool_path)
      message(STATUS "Not refreshing ${datadir}/${dir}: ${tool} is not installed")
      continue()
    endif()
    message(STATUS "Refreshing: ${datadir}/${dir}")
    execute_process(COMMAND "${tool_path}" "${datadir}/${dir}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(WARNING "${tool} ${datadir}/${dir} failed (${status})")
    endif()
  endforeach()
endif()
