#include "listing.h"

#include "karvex/karvex.h"

#include <cstring>

namespace karvex {

MemberList makeMemberList(const Archive& archive, std::size_t limit)
{
    MemberList list;
    const std::size_t separatorSize = std::strlen(kSeparator);
    for (const Member& member : archive.members()) {
        if (!member.listable()) {
            continue;
        }
        const std::string_view name = archive.name(member);
        if (list.text.size() + name.size() + separatorSize > limit) {
            list.leftOut = true;
            break;
        }
        list.text += name;
        list.text += kSeparator;
        list.listed.push_back(&member);
    }
    return list;
}

std::int32_t listMembers(const char* zipPath, char* buffer)
{
    if (zipPath == nullptr || buffer == nullptr) {
        return static_cast<std::int32_t>(Error::Argument);
    }
    Error error = Error::None;
    const auto archive = Archive::open(zipPath, error);
    if (!archive) {
        return static_cast<std::int32_t>(error);
    }
    const MemberList list = makeMemberList(*archive, KARVEX_LIST_LIMIT);
    std::memcpy(buffer, list.text.data(), list.text.size());
    buffer[list.text.size()] = '\0';
    auto result = static_cast<std::int32_t>(list.listed.size());
    if (list.leftOut) {
        result += KARVEX_LIST_LEFT_OUT;
    }
    return result;
}

} // namespace karvex
