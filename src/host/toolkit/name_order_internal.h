// Host-internal: the sort key of a name in the order of name_order.h, computed once per name so
// that sorting many names costs one key each and a byte comparison per step, not a collation.
#pragma once

#include <QCollatorSortKey>
#include <QString>
#include <string_view>

namespace host {

QCollatorSortKey nameSortKey(const QString& name);

// Compares two names by their keys, then, held equal, by their bytes (as compareNames does).
int compareNameKeys(const QCollatorSortKey& keyA, std::string_view a, const QCollatorSortKey& keyB,
                    std::string_view b);

} // namespace host
