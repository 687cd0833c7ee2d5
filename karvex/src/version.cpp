#include "version.h"

namespace karvex {

const char* versionText()
{
    return KARVEX_VERSION " (deflate: " KARVEX_INFLATER ")";
}

} // namespace karvex
