# Writes a C++ source that holds the bytes of INPUT and returns them from the function FUNCTION of
# namespace zeb (declared in HEADER): cmake -DINPUT=... -DOUTPUT=... -DFUNCTION=... -DHEADER=...
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," array "${bytes}")
# Lines of a reasonable length for the compiler's messages.
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " array "${array}")
file(WRITE "${OUTPUT}.tmp" "// Made by cmake/embed_file.cmake from ${INPUT}; not edited by hand.
#include \"${HEADER}\"

namespace zeb {

namespace {

constexpr char kBytes[] = {
    ${array}'\\0'};

}  // namespace

std::string_view ${FUNCTION}() {
    return std::string_view(kBytes, ${size});
}

}  // namespace zeb
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
