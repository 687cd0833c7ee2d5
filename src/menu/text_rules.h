// The text helpers of the engine: byte-wise, as the toolkit's text functions count bytes.
#pragma once

#include <string>
#include <string_view>

namespace menu {

// Without leading and trailing spaces (only the space character, as the toolkit trims).
inline std::string trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// ASCII letters changed case; other bytes (UTF-8 sequences) unchanged.
inline std::string lowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

inline std::string upperAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

} // namespace menu
