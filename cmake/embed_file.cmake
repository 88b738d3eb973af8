# Writes INPUT as a C++ byte array NAME (with NAME_SIZE) into OUTPUT. Run with cmake -P.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}"
    "// Generated from ${INPUT} at build time.\n"
    "#include <cstdint>\n"
    "extern const uint8_t ${NAME}[${size}] = {\n${bytes}\n};\n"
    "extern const uint32_t ${NAME}_SIZE = ${size};\n")
