#include "browse/name_filter.h"

#include <cstdint>
#include <utility>

namespace browse {

namespace {

// The code point starting at `text[at]` and its length in bytes; length 0 when the bytes there
// are not a valid UTF-8 sequence.
std::pair<char32_t, std::size_t> decode(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t point = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        point = lead & 0x1FU;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        point = lead & 0x0FU;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        point = lead & 0x07U;
    } else {
        return {0, 0};
    }
    if (at + length > text.size()) {
        return {0, 0};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0U) != 0x80U) {
            return {0, 0};
        }
        point = (point << 6U) | (next & 0x3FU);
    }
    return {point, length};
}

void encode(char32_t point, std::string& out)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0U | (point >> 6U));
        out += static_cast<char>(0x80U | (point & 0x3FU));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0U | (point >> 12U));
        out += static_cast<char>(0x80U | ((point >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (point & 0x3FU));
    } else {
        out += static_cast<char>(0xF0U | (point >> 18U));
        out += static_cast<char>(0x80U | ((point >> 12U) & 0x3FU));
        out += static_cast<char>(0x80U | ((point >> 6U) & 0x3FU));
        out += static_cast<char>(0x80U | (point & 0x3FU));
    }
}

char32_t fold(char32_t point)
{
    if (point >= 0xFF01 && point <= 0xFF5E) {
        point -= 0xFEE0; // full-width form to its ASCII twin
    }
    if (point >= 'A' && point <= 'Z') {
        return point + 0x20;
    }
    const bool latin1Upper = point >= 0xC0 && point <= 0xDE && point != 0xD7;
    const bool greekUpper = point >= 0x391 && point <= 0x3A9 && point != 0x3A2;
    const bool cyrillicUpper = point >= 0x410 && point <= 0x42F;
    if (latin1Upper || greekUpper || cyrillicUpper) {
        return point + 0x20;
    }
    if (point >= 0x400 && point <= 0x40F) {
        return point + 0x50;
    }
    return point;
}

} // namespace

void foldForFinding(std::string_view text, std::string& folded)
{
    folded.clear();
    for (std::size_t at = 0; at < text.size();) {
        const char byte = text[at];
        if (static_cast<unsigned char>(byte) < 0x80) {
            // Most names are mostly ASCII: no decoding for them.
            folded += (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + 0x20) : byte;
            ++at;
            continue;
        }
        const auto [point, length] = decode(text, at);
        if (length == 0) {
            folded += byte;
            ++at;
            continue;
        }
        encode(fold(point), folded);
        at += length;
    }
}

NameFilter::NameFilter(std::string_view text)
{
    foldForFinding(text, wanted_);
}

bool NameFilter::matches(std::string_view name) const
{
    if (wanted_.empty()) {
        return true;
    }
    foldForFinding(name, folded_);
    return folded_.find(wanted_) != std::string::npos;
}

} // namespace browse
