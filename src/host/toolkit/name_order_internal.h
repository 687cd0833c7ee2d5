// Host-internal: the sort key of a name in the order of name_order.h, computed once per name so
// that sorting many names costs one key each and a byte comparison per step, not a collation.
#pragma once

#include <QCollatorSortKey>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace host {

QCollatorSortKey nameSortKey(const QString& name);

// Compares two names by their keys, then, held equal, by their bytes (as compareNames does).
int compareNameKeys(const QCollatorSortKey& keyA, std::string_view a, const QCollatorSortKey& keyB,
                    std::string_view b);

// Sorts `names` (UTF-8) in that order, one key per name.
void sortNames(std::vector<std::string>& names);

} // namespace host
