# Read by cpack (CPACK_PROJECT_CONFIG_FILE): the times of every file in the
# package are SOURCE_DATE_EPOCH, which is taken, unless the caller gives it,
# from the last commit or, outside a git checkout, from the latest changelog
# entry.  So the same source gives the same package whenever it is built.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(source "${CPACK_RESHEAT_SOURCE_DIR}")
  execute_process(COMMAND git -C "${source}" rev-parse --show-toplevel
                  OUTPUT_VARIABLE top RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(status EQUAL 0 AND top STREQUAL source)
    execute_process(COMMAND git -C "${source}" log -1 --format=%ct
                    OUTPUT_VARIABLE epoch RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  else()
    file(STRINGS "${source}/debian/changelog" trailer REGEX "^ -- .*>  " LIMIT_COUNT 1)
    string(REGEX REPLACE "^ -- .*>  " "" date "${trailer}")
    execute_process(COMMAND date -d "${date}" +%s
                    OUTPUT_VARIABLE epoch RESULT_VARIABLE status OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()
  if(NOT status EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
    message(FATAL_ERROR "Cannot tell the time of the source for SOURCE_DATE_EPOCH; set it")
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()
