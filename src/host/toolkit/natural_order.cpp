#include "host/toolkit/natural_order.h"

#include <cstddef>

namespace host {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char folded(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares the digit runs starting at i and j by value; moves i and j past them.
int compareNumbers(std::string_view a, std::size_t& i, std::string_view b, std::size_t& j)
{
    while (i < a.size() && a[i] == '0') {
        ++i;
    }
    while (j < b.size() && b[j] == '0') {
        ++j;
    }
    const std::size_t startA = i;
    const std::size_t startB = j;
    while (i < a.size() && isDigit(a[i])) {
        ++i;
    }
    while (j < b.size() && isDigit(b[j])) {
        ++j;
    }
    const std::size_t lengthA = i - startA;
    const std::size_t lengthB = j - startB;
    if (lengthA != lengthB) {
        return lengthA < lengthB ? -1 : 1;
    }
    const int digits = a.substr(startA, lengthA).compare(b.substr(startB, lengthB));
    return digits < 0 ? -1 : (digits > 0 ? 1 : 0);
}

} // namespace

int naturalCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (const int numbers = compareNumbers(a, i, b, j); numbers != 0) {
                return numbers;
            }
            continue;
        }
        // Bytes compare unsigned, so UTF-8 texts order by code point.
        const auto ca = static_cast<unsigned char>(folded(a[i]));
        const auto cb = static_cast<unsigned char>(folded(b[j]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) {
        return i < a.size() ? 1 : -1;
    }
    const int bytes = a.compare(b);
    return bytes < 0 ? -1 : (bytes > 0 ? 1 : 0);
}

} // namespace host
