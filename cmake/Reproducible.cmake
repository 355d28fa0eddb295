# The same source gives the same programs, whatever folder it is built in and
# whenever: outside Debug builds the compiler writes the source and build
# folders as relative paths (debug information, build ids), and the Qt
# resources are written in the resource format without file times.  The
# packages take their file times from SOURCE_DATE_EPOCH
# (packaging/SourceDateEpoch.cmake).
set(release_configs $<NOT:$<CONFIG:Debug>>)
add_compile_options("$<${release_configs}:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>")
cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${PROJECT_BINARY_DIR}" NORMALIZE binary_inside_source)
if(NOT binary_inside_source)
  add_compile_options("$<${release_configs}:-ffile-prefix-map=${PROJECT_BINARY_DIR}=build>")
endif()

# Format 1 is the last without a modification time per file; Qt reads all.
set(CMAKE_AUTORCC_OPTIONS --format-version 1)
