#include "version.h"

namespace karvex {

const char* versionText()
{
    return "1.1 (deflate: " KARVEX_INFLATER ")";
}

} // namespace karvex
