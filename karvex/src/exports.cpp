// The library's two C entry points. Nothing else leaves the shared library, and no C++
// exception crosses into the caller.
#include "error.h"
#include "extract.h"
#include "karvex/karvex.h"
#include "listing.h"

#include <exception>

extern "C" {

KARVEX_API int32_t GetFileIndexList2(char* pszipfilename, char* psfilenamelist)
{
    try {
        return karvex::listMembers(pszipfilename, psfilenamelist);
    } catch (const std::exception&) {
        return KARVEX_E_INTERNAL;
    }
}

KARVEX_API int32_t GetFileFromZipFile2(char* pszipfilename, char* psfilename, char* pssavefilename)
{
    try {
        return static_cast<int32_t>(
            karvex::extractMember(pszipfilename, psfilename, pssavefilename));
    } catch (const std::exception&) {
        return KARVEX_E_INTERNAL;
    }
}

} // extern "C"
