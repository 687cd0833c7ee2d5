#include "browse/karvex_entries.h"

#include "host/win32/modules.h"

namespace browse {

namespace {

constexpr const char* kLibrary = "Karvex.dll";

struct Binding {
    std::string libraryName = kLibrary;
    // The library stays loaded for the rest of the run once bound, as an import would.
    win32::HMODULE module = 0;
    GetFileIndexList2Entry listDouble = nullptr;
    GetFileFromZipFile2Entry extractDouble = nullptr;
    KarvexListMembersEntry listMembersDouble = nullptr;
    KarvexExtractMemberEntry extractMemberDouble = nullptr;
};

Binding& binding()
{
    static Binding state;
    return state;
}

// The entry's address, nullptr when the library has no such entry.
win32::FARPROC findEntry(const char* entry)
{
    Binding& state = binding();
    if (state.module == 0) {
        // A failed load is not remembered: a library put in place later is found at the next call.
        state.module = win32::LoadLibraryA(state.libraryName.c_str());
        if (state.module == 0) {
            throw ExternalFunctionError("无法调用外部函数 " + std::string(entry) + ": 找不到库 " +
                                        state.libraryName);
        }
    }
    return win32::GetProcAddress(state.module, entry);
}

win32::FARPROC bindEntry(const char* entry)
{
    win32::FARPROC address = findEntry(entry);
    if (address == nullptr) {
        const Binding& state = binding();
        throw ExternalFunctionError("无法调用外部函数 " + std::string(entry) + ": 库 " +
                                    state.libraryName + " 中没有这个入口");
    }
    return address;
}

} // namespace

GetFileIndexList2Entry bindGetFileIndexList2()
{
    if (binding().listDouble != nullptr) {
        return binding().listDouble;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the entry's declared type
    return reinterpret_cast<GetFileIndexList2Entry>(bindEntry("GetFileIndexList2"));
}

GetFileFromZipFile2Entry bindGetFileFromZipFile2()
{
    if (binding().extractDouble != nullptr) {
        return binding().extractDouble;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the entry's declared type
    return reinterpret_cast<GetFileFromZipFile2Entry>(bindEntry("GetFileFromZipFile2"));
}

KarvexExtractMemberEntry bindKarvexExtractMember()
{
    const Binding& state = binding();
    if (state.listDouble != nullptr || state.extractDouble != nullptr) {
        return state.extractMemberDouble;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the entry's declared type
    return reinterpret_cast<KarvexExtractMemberEntry>(findEntry("KarvexExtractMember"));
}

KarvexListMembersEntry findKarvexListMembers()
{
    const Binding& state = binding();
    if (state.listDouble != nullptr || state.extractDouble != nullptr) {
        return state.listMembersDouble;
    }
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the entry's declared type
    return reinterpret_cast<KarvexListMembersEntry>(findEntry("KarvexListMembers"));
}

std::uint32_t findKarvexMemberInfoSize()
{
    const Binding& state = binding();
    if (state.listDouble != nullptr || state.extractDouble != nullptr) {
        return sizeof(KarvexMemberInfo); // the doubles are built against this header
    }
    using SizeEntry = decltype(&KarvexMemberInfoSize);
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the entry's declared type
    const auto size = reinterpret_cast<SizeEntry>(findEntry("KarvexMemberInfoSize"));
    return size == nullptr ? 0 : size();
}

void useKarvexLibraryName(const std::string& name)
{
    Binding& state = binding();
    if (state.module != 0) {
        win32::FreeLibrary(state.module);
        state.module = 0;
    }
    state.libraryName = name.empty() ? kLibrary : name;
}

void useKarvexEntries(GetFileIndexList2Entry list, GetFileFromZipFile2Entry extract)
{
    binding().listDouble = list;
    binding().extractDouble = extract;
}

void useKarvexListMembers(KarvexListMembersEntry listMembers)
{
    binding().listMembersDouble = listMembers;
}

void useKarvexExtractMember(KarvexExtractMemberEntry extract)
{
    binding().extractMemberDouble = extract;
}

} // namespace browse
