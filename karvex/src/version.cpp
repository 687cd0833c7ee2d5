#include "version.h"

namespace karvex {

const char* versionText()
{
    return "1.1 (deflate: zlib)";
}

} // namespace karvex
