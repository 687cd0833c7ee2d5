#include "browse/member_details.h"

#include "browse/karvex_entries.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace browse {

namespace {

struct Search {
    const std::string* name;
    std::optional<MemberDetails> found;
};

int eachMember(void* context, const KarvexMemberInfo* member)
{
    auto& search = *static_cast<Search*>(context);
    if (std::string_view(member->name, member->nameLength) != *search.name) {
        return 0;
    }
    search.found = MemberDetails{member->size, member->packedSize, member->modified};
    return 1; // found: the rest of the listing is not needed
}

QString bytes(std::uint64_t count)
{
    return QLocale(QLocale::English).toString(static_cast<qulonglong>(count));
}

} // namespace

std::optional<MemberDetails> readMemberDetails(const std::string& zipPath, const std::string& name)
{
    const KarvexListMembersEntry listMembers = findKarvexListMembers();
    if (listMembers == nullptr) {
        return std::nullopt;
    }
    Search search{&name, std::nullopt};
    KarvexListSummary summary{};
    listMembers(zipPath.c_str(), eachMember, &search, &summary);
    return search.found;
}

std::string describeMember(const MemberDetails& details)
{
    QString line =
        QString("大小 %1 字节  压缩后 %2 字节").arg(bytes(details.size), bytes(details.packedSize));
    if (details.modified >= 0) {
        line += "  " + QDateTime::fromSecsSinceEpoch(details.modified)
                           .toLocalTime()
                           .toString("yyyy-MM-dd HH:mm");
    }
    return line.toStdString();
}

} // namespace browse
