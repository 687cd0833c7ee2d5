#include "list_contract.h"

#include "karvex/karvex.h"
#include "write_guard.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_set>

namespace karvex_fuzz {
namespace {

constexpr std::string_view kSeparator = "@@";

std::string escaped(const std::string& bytes)
{
    std::string out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c >= 0x7F || c == '\\') {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out;
}

// The code points of well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF);
// false when the bytes are not.
bool decodeUtf8(std::string_view text, std::vector<char32_t>& out)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        std::size_t length = 1;
        char32_t value = lead;
        char32_t minimum = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            value = lead & 0x07U;
            minimum = 0x10000;
        } else if (lead >= 0xE0 && lead < 0xF0) {
            length = 3;
            value = lead & 0x0FU;
            minimum = 0x800;
        } else if (lead >= 0xC2 && lead < 0xE0) {
            length = 2;
            value = lead & 0x1FU;
            minimum = 0x80;
        } else if (lead >= 0x80) {
            return false;
        }
        if (text.size() - pos < length) {
            return false;
        }
        for (std::size_t i = 1; i < length; ++i) {
            const auto c = static_cast<unsigned char>(text[pos + i]);
            if ((c & 0xC0U) != 0x80U) {
                return false;
            }
            value = (value << 6U) | (c & 0x3FU);
        }
        if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
            return false;
        }
        out.push_back(value);
        pos += length;
    }
    return true;
}

bool isControlOrBidi(char32_t c)
{
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E ||
           c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// Why a listed name breaks the header's promises, or null when it keeps them.
const char* nameFault(const std::string& name)
{
    if (name.empty()) {
        return "an empty name was listed";
    }
    std::vector<char32_t> codePoints;
    if (!decodeUtf8(name, codePoints)) {
        return "a listed name is not UTF-8";
    }
    for (const char32_t c : codePoints) {
        if (isControlOrBidi(c)) {
            return "a listed name holds a control or bidirectional formatting character";
        }
    }
    if (name.find('\\') != std::string::npos) {
        return "a listed name still holds a backslash";
    }
    if (name.find(kSeparator) != std::string::npos) {
        return "a listed name holds the separator";
    }
    if (name.front() == '/') {
        return "an absolute name was listed";
    }
    if (name.size() >= 2 && name[1] == ':' &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'))) {
        return "a name starting with a drive letter was listed";
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = name.find('/', start);
        const std::string_view component =
            std::string_view(name).substr(start, end == std::string::npos ? end : end - start);
        if (component.empty() || component == "." || component == "..") {
            return "a listed name has an empty, \".\" or \"..\" component";
        }
        if (end == std::string::npos) {
            return nullptr;
        }
        start = end + 1;
    }
}

bool isListingFailure(std::int32_t result)
{
    return result == KARVEX_E_ARGUMENT || result == KARVEX_E_OPEN_ARCHIVE ||
           result == KARVEX_E_NOT_AN_ARCHIVE || result == KARVEX_E_INTERNAL;
}

struct Detailed {
    std::vector<std::string> names;
    std::vector<KarvexMemberInfo> members; // `name` is not valid after the call
};

int collect(void* context, const KarvexMemberInfo* member)
{
    auto& detailed = *static_cast<Detailed*>(context);
    if (member->name == nullptr || std::strlen(member->name) != member->nameLength) {
        fail("a detailed listing's name length is not the length of its name");
    }
    if (!detailed.members.empty() && member->index <= detailed.members.back().index) {
        fail("the detailed listing is not in central directory order");
    }
    detailed.names.emplace_back(member->name, member->nameLength);
    detailed.members.push_back(*member);
    return 0;
}

// The unbounded listing must list what the bounded one lists, and then the rest, and account for
// every entry of the directory exactly once.
void checkDetailedListing(const std::string& archivePath, const Listing& listing)
{
    Detailed detailed;
    KarvexListSummary summary{};
    std::int32_t result = 0;
    {
        const WriteGuard listingWritesNothing;
        result = KarvexListMembers(archivePath.c_str(), collect, &detailed, &summary);
    }
    if (listing.result < 0 || result < 0) {
        if (result != listing.result) {
            fail("the two listings fail differently: " + std::to_string(listing.result) + " and " +
                 std::to_string(result));
        }
        return;
    }
    if (detailed.names.size() < listing.names.size() ||
        !std::equal(listing.names.begin(), listing.names.end(), detailed.names.begin())) {
        fail("the detailed listing does not start with the bounded list");
    }
    if ((listing.result & KARVEX_LIST_LEFT_OUT) == 0 &&
        detailed.names.size() != listing.names.size()) {
        fail("the detailed listing lists members the complete bounded list does not");
    }
    if (summary.listed != detailed.names.size() ||
        summary.listed + summary.folders + summary.duplicates + summary.unsafeNames +
                summary.separators + summary.undecodable + summary.badRecords !=
            summary.entries) {
        fail("the listing summary does not account for every entry once");
    }
}

} // namespace

void fail(const std::string& what, const std::string& bytes)
{
    std::fprintf(stderr, "karvex fuzz: %s%s%s\n", what.c_str(), bytes.empty() ? "" : ": ",
                 escaped(bytes).c_str());
    std::abort();
}

Listing listAndCheck(const std::string& archivePath)
{
    // The viewer's buffer: 100000 spaces, then the zero byte that ends the string.
    std::vector<char> buffer(KARVEX_LIST_LIMIT + 1, ' ');
    buffer[KARVEX_LIST_LIMIT] = '\0';
    std::string path = archivePath;
    Listing listing;
    {
        const WriteGuard listingWritesNothing;
        listing.result = GetFileIndexList2(path.data(), buffer.data());
    }
    if (path != archivePath) {
        fail("GetFileIndexList2 changed the archive path", path);
    }

    if (listing.result < 0) {
        checkDetailedListing(archivePath, listing);
        if (!isListingFailure(listing.result)) {
            fail("GetFileIndexList2 returned an undocumented failure code " +
                 std::to_string(listing.result));
        }
        for (std::size_t i = 0; i < KARVEX_LIST_LIMIT; ++i) {
            if (buffer[i] != ' ') {
                fail("a failed listing changed the buffer");
            }
        }
        return listing;
    }
    if ((listing.result & ~(KARVEX_LIST_LEFT_OUT | 0x3FFFFFFF)) != 0) {
        fail("GetFileIndexList2 returned stray bits " + std::to_string(listing.result));
    }

    const auto* zero = static_cast<const char*>(std::memchr(buffer.data(), '\0', buffer.size()));
    if (zero == nullptr) {
        fail("the list has no zero byte");
    }
    const auto length = static_cast<std::size_t>(zero - buffer.data());
    for (std::size_t i = length + 1; i < KARVEX_LIST_LIMIT; ++i) {
        if (buffer[i] != ' ') {
            fail("the library wrote past the zero byte that ends its list");
        }
    }
    std::string_view rest(buffer.data(), length);

    // Split exactly as the viewer does: up to each first "@@", until none is left.
    for (std::size_t at = rest.find(kSeparator); at != std::string_view::npos;
         at = rest.find(kSeparator)) {
        listing.names.emplace_back(rest.substr(0, at));
        rest.remove_prefix(at + kSeparator.size());
    }
    const std::string list(buffer.data(), length);
    if (!rest.empty()) {
        fail("the list does not end with the separator, or a name ends in \"@\"", list);
    }
    const auto count = static_cast<std::size_t>(KARVEX_LIST_COUNT(listing.result));
    if (listing.names.size() != count) {
        fail("the list holds " + std::to_string(listing.names.size()) +
                 " names but the count says " + std::to_string(count),
             list);
    }
    std::unordered_set<std::string> seen;
    for (const std::string& name : listing.names) {
        if (const char* fault = nameFault(name)) {
            fail(fault, name);
        }
        if (!seen.insert(name).second) {
            fail("a name was listed twice", name);
        }
    }
    checkDetailedListing(archivePath, listing);
    return listing;
}

} // namespace karvex_fuzz
