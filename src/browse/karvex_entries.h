// The program-wide declarations of the archive library's entries. The library "Karvex.dll" is
// bound by entry name when an entry is first needed, never linked, so a missing library shows
// at the first archive click instead of stopping the program from starting.
#pragma once

#include "karvex/karvex.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace browse {

using GetFileIndexList2Entry = std::int32_t (*)(char* pszipfilename, char* psfilenamelist);
using GetFileFromZipFile2Entry = std::int32_t (*)(char* pszipfilename, char* psfilename,
                                                  char* pssavefilename);
using KarvexListMembersEntry = decltype(&KarvexListMembers);

// The unpack that reports progress and can be cancelled; libraries older than it lack it.
using KarvexExtractMemberEntry = decltype(&KarvexExtractMember);

// A library or entry that cannot be bound; its text names both. It ends the event that needed
// the entry, whose message box shows it.
class ExternalFunctionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The entries, bound on first use. They throw ExternalFunctionError before calling anything
// when the library or the entry is missing.
GetFileIndexList2Entry bindGetFileIndexList2();
GetFileFromZipFile2Entry bindGetFileFromZipFile2();
// The unbounded listing, or nullptr when the library has no such entry (an older library): the
// caller then falls back to GetFileIndexList2. Throws only when the library itself is missing.
KarvexListMembersEntry findKarvexListMembers();
// The unpack with progress, or nullptr when the library has no such entry (callers then use
// GetFileFromZipFile2). Throws like the others when the library itself is missing.
KarvexExtractMemberEntry bindKarvexExtractMember();
// How many bytes of KarvexMemberInfo the library's listing hands over: its own record's size, or
// 0 for a library older than that entry (whose record ends with `index`). Throws like the others
// when the library itself is missing.
std::uint32_t findKarvexMemberInfoSize();

// Test seams: another library name to bind ("Karvex.dll" when empty), or doubles of the two
// entries in place of any library (nullptr: bind the library again).
void useKarvexLibraryName(const std::string& name);
void useKarvexEntries(GetFileIndexList2Entry list, GetFileFromZipFile2Entry extract);
// A double of the unbounded listing, used while the doubles above are; nullptr stands for a
// library without that entry.
void useKarvexListMembers(KarvexListMembersEntry listMembers);
// With the doubles above: a double of the unpack with progress (nullptr: the doubles' library
// has none).
void useKarvexExtractMember(KarvexExtractMemberEntry extract);

} // namespace browse
