# Writes a C++ source that holds a file's bytes, so that data made by a make
# target (the window icon's pixels, the bitmap fonts) lives under data/ and
# no source file holds generated data. In script mode:
#
#   cmake -DINPUT=data/file -DOUTPUT=generated.cpp -DSYMBOL=kName -P cmake/EmbedFile.cmake
#
# defines `const unsigned char kName[]` and `const std::size_t kNameSize`.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
# Sixteen bytes a line.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new"
  "// Made by the build from ${INPUT}.\n#include <cstddef>\n\n"
  "extern const unsigned char ${SYMBOL}[] = {\n${bytes}0};\n"
  "extern const std::size_t ${SYMBOL}Size = ${size};\n")
file(RENAME "${OUTPUT}.new" "${OUTPUT}")
