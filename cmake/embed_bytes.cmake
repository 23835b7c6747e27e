# Writes the bytes of IN as a C++ array named NAME in namespace
# zephalo::core::text, with its size as NAME##Size, to OUT.
#     cmake -DIN=file -DOUT=file.cpp -DNAME=kEnglishMo -P embed_bytes.cmake
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}.tmp"
     "// Generated from ${IN}; do not edit.\n#include <cstddef>\n"
     "namespace zephalo::core::text {\n"
     "extern const unsigned char ${NAME}[];\nextern const std::size_t ${NAME}Size;\n"
     "const unsigned char ${NAME}[] = {\n${bytes}0};\n"
     "const std::size_t ${NAME}Size = ${size};\n}\n")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
