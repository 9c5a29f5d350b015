# Turns a binary file into a C++ source that defines it as a byte array:
#   cmake -DINPUT=<file> -DOUTPUT=<source> -DNAME=<identifier> -P embed.cmake
# defines res::embedded::<NAME> and res::embedded::<NAME>_size.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
get_filename_component(source_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}"
  "// Generated from ${source_name} by embed.cmake.\n"
  "#include <cstddef>\n"
  "namespace res::embedded {\n"
  "extern const unsigned char ${NAME}[] = {${bytes}};\n"
  "extern const std::size_t ${NAME}_size = sizeof ${NAME};\n"
  "} // namespace res::embedded\n")
