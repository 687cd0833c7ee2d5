#include "host/toolkit/name_order.h"

#include "host/toolkit/name_order_internal.h"

#include <QChar>
#include <QCollator>
#include <QLocale>
#include <algorithm>

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
    const int collation = collator().compare(collated(fromUtf8(a)), collated(fromUtf8(b)));
    if (collation != 0) {
        return collation < 0 ? -1 : 1;
    }
    return byBytes(a, b);
}

} // namespace host
