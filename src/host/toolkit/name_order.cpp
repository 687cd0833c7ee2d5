#include "host/toolkit/name_order.h"

#include "host/toolkit/name_order_internal.h"

#include <QChar>
#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <utility>

namespace host {

namespace {

// One collator per thread: a collator is not to be shared between threads.
const QCollator& collator()
{
    thread_local const QCollator chinese = [] {
        QCollator made(QLocale(QLocale::Chinese, QLocale::China));
        made.setNumericMode(true);
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    return chinese;
}

// The Chinese collation puts Han characters before the Latin letters; a Chinese desktop lists
// names in letters first. A character that sorts after every other goes in front of each Han
// character, so Han sorts after the letters and among itself still by pinyin.
QString collated(const QString& name)
{
    // Han lies above U+2E80, and past the basic plane in surrogate pairs, which lie above too.
    constexpr char16_t kFirstHanBlock = 0x2E80;
    if (std::none_of(name.cbegin(), name.cend(),
                     [](QChar unit) { return unit.unicode() >= kFirstHanBlock; })) {
        return name;
    }
    QString marked;
    marked.reserve(name.size() * 2);
    for (const char32_t character : name.toUcs4()) {
        if (QChar::script(character) == QChar::Script_Han) {
            marked += QChar(QChar::ReplacementCharacter);
        }
        marked += QString::fromUcs4(&character, 1);
    }
    return marked;
}

int byBytes(std::string_view a, std::string_view b)
{
    const int bytes = a.compare(b);
    return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QCollatorSortKey nameSortKey(const QString& name)
{
    return collator().sortKey(collated(name));
}

int compareNameKeys(const QCollatorSortKey& keyA, std::string_view a, const QCollatorSortKey& keyB,
                    std::string_view b)
{
    const int keys = keyA.compare(keyB);
    if (keys != 0) {
        return keys < 0 ? -1 : 1;
    }
    return byBytes(a, b);
}

int compareNames(std::string_view a, std::string_view b)
{
    // Through the keys, as the lists sort: one order, one way to it.
    return compareNameKeys(nameSortKey(fromUtf8(a)), a, nameSortKey(fromUtf8(b)), b);
}

void sortNames(std::vector<std::string>& names)
{
    struct Keyed {
        std::string name;
        QCollatorSortKey key;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(names.size());
    for (std::string& name : names) {
        QCollatorSortKey key = nameSortKey(fromUtf8(name));
        keyed.push_back(Keyed{std::move(name), std::move(key)});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return compareNameKeys(a.key, a.name, b.key, b.name) < 0;
    });
    names.clear();
    for (Keyed& entry : keyed) {
        names.push_back(std::move(entry.name));
    }
}

} // namespace host
