# Writes a C++ source holding the text of each property table file, so the
# programs carry the built-in tables without reading files at run time.
#   cmake -DOUTPUT=<file.cpp> -DINPUTS=<a.csv|b.csv|...> -P EmbedMaterials.cmake
# The table's name is its file name without the extension.
string(REPLACE "|" ";" inputs "${INPUTS}")
set(code "// Generated from data/materials by EmbedMaterials.cmake; do not edit.\n")
string(APPEND code "#include \"core/MaterialData.h\"\n\nnamespace resheat {\n\n")
string(APPEND code "const std::vector<EmbeddedTable> &EmbeddedMaterialTables()\n{\n")
string(APPEND code "    static const std::vector<EmbeddedTable> tables{\n")
foreach(input IN LISTS inputs)
  get_filename_component(name "${input}" NAME_WE)
  file(READ "${input}" text)
  string(FIND "${text}" ")csv\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${input} contains the raw string terminator )csv\"")
  endif()
  string(APPEND code "        {\"${name}\", R\"csv(${text})csv\"},\n")
endforeach()
string(APPEND code "    };\n    return tables;\n}\n\n} // namespace resheat\n")
file(WRITE "${OUTPUT}.tmp" "${code}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
