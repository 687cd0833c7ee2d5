#include "names.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace karvex {
namespace {

// Decodes one UTF-8 sequence at `pos`; -1 when it is not well-formed (overlong forms, surrogates
// and values past U+10FFFF included).
long nextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    long value = 0;
    long minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return -1;
    }
    if (text.size() - pos < length) {
        return -1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char c = byte(pos + i);
        if ((c & 0xC0) != 0x80) {
            return -1;
        }
        value = (value << 6) | (c & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return -1;
    }
    pos += length;
    return value;
}

bool isBidiControl(long c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

std::optional<std::string> convert(const char* to, const char* from, std::string_view input)
{
    iconv_t cd = ::iconv_open(to, from);
    // iconv_open reports failure as (iconv_t)-1.
    if (cd == reinterpret_cast<iconv_t>(-1)) { // NOLINT(performance-no-int-to-ptr)
        return std::nullopt;
    }
    std::vector<char> in(input.begin(), input.end());
    std::string out(input.size() * 4 + 16, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t result = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    const bool flushed =
        ::iconv(cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    ::iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0 || !flushed) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    return out;
}

bool isDriveLetter(std::string_view component)
{
    if (component.size() < 2 || component[1] != ':') {
        return false;
    }
    const char c = component[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Characters that make a name unsafe wherever they appear; the text is valid UTF-8.
NameProblem checkCharacters(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const long c = nextCodePoint(text, pos);
        if (c < 0) {
            return NameProblem::Undecodable;
        }
        if (c == 0) {
            return NameProblem::Nul;
        }
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) {
            return NameProblem::ControlCharacter;
        }
        if (isBidiControl(c)) {
            return NameProblem::BidiControl;
        }
    }
    return NameProblem::None;
}

} // namespace

const char* describe(NameProblem problem)
{
    switch (problem) {
    case NameProblem::None:
        return "no problem";
    case NameProblem::Undecodable:
        return "name is neither UTF-8 nor GB18030";
    case NameProblem::Empty:
        return "name is empty";
    case NameProblem::Absolute:
        return "name is an absolute path";
    case NameProblem::DriveLetter:
        return "name starts with a drive letter";
    case NameProblem::DotDot:
        return "name has a \"..\" component";
    case NameProblem::EmptyComponent:
        return "name has an empty folder component";
    case NameProblem::Nul:
        return "name holds a NUL byte";
    case NameProblem::ControlCharacter:
        return "name holds a control character";
    case NameProblem::BidiControl:
        return "name holds a bidirectional formatting character";
    case NameProblem::Separator:
        return "name holds the list separator \"@@\"";
    }
    return "unknown problem";
}

bool isValidUtf8(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (nextCodePoint(text, pos) < 0) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> gb18030ToUtf8(std::string_view bytes)
{
    return convert("UTF-8", "GB18030", bytes);
}

std::optional<std::string> utf8ToGbk(std::string_view text)
{
    return convert("GBK", "UTF-8", text);
}

namespace {

// Most names need no rewriting: no backslash, no "." or ".." component, no empty component, no
// drive letter, and nothing unsafe. Those are taken in one pass without building them anew.
bool isPlainName(std::string_view name)
{
    if (name.empty() || name.front() == '/' || name.back() == '/' || name.front() == '.' ||
        (name.size() >= 2 && name[1] == ':')) {
        return false;
    }
    char previous = '\0';
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '\\' || (c == '.' && previous == '/') ||
            (c == '/' && previous == '/') || (c == '@' && previous == '@')) {
            return false;
        }
        previous = c;
    }
    return true;
}

} // namespace

ListedName toListedName(std::string_view decoded)
{
    ListedName listed;
    if (isPlainName(decoded)) {
        listed.text = decoded;
        return listed;
    }
    std::string name(decoded);
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (!name.empty() && name.back() == '/') {
        listed.isDirectory = true;
        name.pop_back();
    }
    if (const NameProblem problem = checkCharacters(name); problem != NameProblem::None) {
        listed.problem = problem;
        return listed;
    }
    if (!name.empty() && name.front() == '/') {
        listed.problem = NameProblem::Absolute;
        return listed;
    }

    // Walk the components, dropping "." ones and refusing the ones that escape the folder.
    std::string text;
    std::size_t start = 0;
    bool first = true;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) {
            end = name.size();
        }
        const std::string_view component(name.data() + start, end - start);
        if (component.empty()) {
            // "a/" was already taken as a folder, so this is "a//b" or an empty name.
            if (!name.empty()) {
                listed.problem = NameProblem::EmptyComponent;
                return listed;
            }
        } else if (component == "..") {
            listed.problem = NameProblem::DotDot;
            return listed;
        } else if (component != ".") {
            if (first && isDriveLetter(component)) {
                listed.problem = NameProblem::DriveLetter;
                return listed;
            }
            if (!text.empty()) {
                text += '/';
            }
            text += component;
            first = false;
        }
        start = end + 1;
    }
    if (text.find("@@") != std::string::npos) {
        listed.problem = NameProblem::Separator;
    } else if (text.empty() && !listed.isDirectory) {
        listed.problem = NameProblem::Empty;
    }
    listed.text = std::move(text);
    return listed;
}

NameProblem checkRequestedName(std::string_view name)
{
    if (!isValidUtf8(name)) {
        return NameProblem::Undecodable;
    }
    return toListedName(name).problem;
}

} // namespace karvex
