// The library's C entry points. Nothing else leaves the shared library, and nothing thrown
// inside it, C++ exception or not, crosses into the caller.
#include "error.h"
#include "extract.h"
#include "karvex/karvex.h"
#include "listing.h"
#include "member_listing.h"
#include "version.h"

extern "C" {

KARVEX_API int32_t GetFileIndexList2(char* pszipfilename, char* psfilenamelist)
{
    try {
        return karvex::listMembers(pszipfilename, psfilenamelist);
    } catch (...) {
        return KARVEX_E_INTERNAL;
    }
}

KARVEX_API int32_t GetFileFromZipFile2(char* pszipfilename, char* psfilename, char* pssavefilename)
{
    try {
        return static_cast<int32_t>(
            karvex::extractMember(pszipfilename, psfilename, pssavefilename));
    } catch (...) {
        return KARVEX_E_INTERNAL;
    }
}

KARVEX_API int32_t KarvexListMembers(const char* zipPath, KarvexMemberCallback each, void* context,
                                     KarvexListSummary* summary)
{
    try {
        return static_cast<int32_t>(karvex::listEveryMember(zipPath, each, context, summary));
    } catch (...) {
        return KARVEX_E_INTERNAL;
    }
}

KARVEX_API int32_t KarvexExtractMember(const char* zipPath, const char* member,
                                       const char* savePath, uint32_t flags,
                                       KarvexProgressCallback progress, void* context)
{
    try {
        return static_cast<int32_t>(
            karvex::extractMember(zipPath, member, savePath, {flags, progress, context}));
    } catch (...) {
        return KARVEX_E_INTERNAL;
    }
}

KARVEX_API const char* KarvexVersion(void)
{
    return karvex::versionText();
}

KARVEX_API uint32_t KarvexMemberInfoSize(void)
{
    return static_cast<uint32_t>(sizeof(KarvexMemberInfo));
}

} // extern "C"
