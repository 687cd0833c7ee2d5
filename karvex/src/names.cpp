#include "names.h"

#include <cerrno>
#include <cstdio>
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

// One iconv conversion, opened once per thread and direction: opening one costs more than
// converting a short name, and an archive may hold a million GBK names.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter()
    {
        if (valid()) {
            ::iconv_close(cd_);
        }
    }

    std::optional<std::string> operator()(std::string_view input)
    {
        if (!valid()) {
            return std::nullopt;
        }
        ::iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        in_.assign(input.begin(), input.end());
        std::string out(input.size() * 4 + 16, '\0');
        char* inPtr = in_.data();
        std::size_t inLeft = in_.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        const std::size_t result = ::iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
        const bool flushed =
            ::iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
        if (result == static_cast<std::size_t>(-1) || inLeft != 0 || !flushed) {
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    // iconv_open reports failure as (iconv_t)-1.
    bool valid() const
    {
        return cd_ != reinterpret_cast<iconv_t>(-1);
    } // NOLINT(performance-no-int-to-ptr)

    iconv_t cd_;
    std::vector<char> in_; // iconv wants the input writable
};

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
        return "name holds the list separator \"@@\" or ends in \"@\"";
    case NameProblem::TooLong:
        return "name is too long for the file system (a part over 255 bytes, or over 4095 in all)";
    case NameProblem::Reserved:
        return "name is reserved for the library's temporary files";
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
    thread_local Converter convert("UTF-8", "GB18030");
    return convert(bytes);
}

std::optional<std::string> utf8ToGbk(std::string_view text)
{
    thread_local Converter convert("GBK", "UTF-8");
    return convert(text);
}

namespace {

// Most names need no rewriting: no backslash, no "." or ".." component, no empty component, no
// drive letter, nothing unsafe and nothing too long. Those are taken in one pass as they are.
bool isPlainName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxNameBytes || name.front() == '/' || name.back() == '/' ||
        name.back() == '@' || name.front() == '.' || (name.size() >= 2 && name[1] == ':')) {
        return false;
    }
    char previous = '\0';
    std::size_t componentBytes = 0;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '\\' || (c == '.' && previous == '/') ||
            (c == '/' && previous == '/') || (c == '@' && previous == '@')) {
            return false;
        }
        componentBytes = c == '/' ? 0 : componentBytes + 1;
        if (componentBytes > kMaxComponentBytes) {
            return false;
        }
        previous = c;
    }
    return true;
}

bool isReservedLeaf(std::string_view leaf)
{
    constexpr std::string_view kPrefix = ".karvex-";
    constexpr std::string_view kSuffix = ".part";
    return leaf.size() >= kPrefix.size() + kSuffix.size() &&
           leaf.substr(0, kPrefix.size()) == kPrefix &&
           leaf.substr(leaf.size() - kSuffix.size()) == kSuffix;
}

// The name with "/" separators and without its "." components, or the reason it cannot be
// listed.
NameVerdict rewriteName(std::string_view decoded, std::string& text)
{
    NameVerdict verdict;
    std::string name(decoded);
    for (char& c : name) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (!name.empty() && name.back() == '/') {
        verdict.isDirectory = true;
        name.pop_back();
    }
    if (const NameProblem problem = checkCharacters(name); problem != NameProblem::None) {
        verdict.problem = problem;
        return verdict;
    }
    if (!name.empty() && name.front() == '/') {
        verdict.problem = NameProblem::Absolute;
        return verdict;
    }

    // Walk the components, dropping "." ones and refusing the ones that escape the folder.
    std::size_t start = 0;
    bool first = true;
    std::string_view leaf;
    while (start <= name.size()) {
        std::size_t end = name.find('/', start);
        if (end == std::string::npos) {
            end = name.size();
        }
        const std::string_view component(name.data() + start, end - start);
        if (component.empty()) {
            // "a/" was already taken as a folder, so this is "a//b" or an empty name.
            if (!name.empty()) {
                verdict.problem = NameProblem::EmptyComponent;
                return verdict;
            }
        } else if (component == "..") {
            verdict.problem = NameProblem::DotDot;
            return verdict;
        } else if (component != ".") {
            if (first && isDriveLetter(component)) {
                verdict.problem = NameProblem::DriveLetter;
                return verdict;
            }
            if (component.size() > kMaxComponentBytes) {
                verdict.problem = NameProblem::TooLong;
                return verdict;
            }
            if (!text.empty()) {
                text += '/';
            }
            text += component;
            leaf = component;
            first = false;
        }
        start = end + 1;
    }
    // A name ending in "@" runs into its own separator ("a@" + "@@" reads back as "a" and a
    // stray "@" in front of the next name), so it is as unlistable as one holding "@@".
    if (text.find("@@") != std::string::npos || (!text.empty() && text.back() == '@')) {
        verdict.problem = NameProblem::Separator;
    } else if (text.empty() && !verdict.isDirectory) {
        verdict.problem = NameProblem::Empty;
    } else if (text.size() > kMaxNameBytes) {
        verdict.problem = NameProblem::TooLong;
    } else if (!verdict.isDirectory && isReservedLeaf(leaf)) {
        verdict.problem = NameProblem::Reserved;
    }
    return verdict;
}

} // namespace

bool appendPlainName(std::string_view name, std::string& out)
{
    if (!isPlainName(name)) {
        return false;
    }
    out += name;
    return true;
}

NameVerdict appendListedName(std::string_view decoded, std::string& out)
{
    if (appendPlainName(decoded, out)) {
        return {};
    }
    std::string text;
    const NameVerdict verdict = rewriteName(decoded, text);
    if (verdict.problem == NameProblem::None) {
        out += text;
    }
    return verdict;
}

ListedName toListedName(std::string_view decoded)
{
    ListedName listed;
    std::string text;
    const NameVerdict verdict = appendListedName(decoded, text);
    listed.isDirectory = verdict.isDirectory;
    listed.problem = verdict.problem;
    if (verdict.problem == NameProblem::None) {
        listed.text = std::move(text);
    }
    return listed;
}

NameProblem checkRequestedName(std::string_view name)
{
    if (!isValidUtf8(name)) {
        return NameProblem::Undecodable;
    }
    return toListedName(name).problem;
}

std::string printableName(std::string_view bytes)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[pos]);
        std::size_t length = 1;
        if (lead >= 0xC0) {
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        }
        const std::string_view sequence = bytes.substr(pos, length);
        char escape[16];
        if (lead < 0x20 || lead == 0x7F || sequence.size() != length || !isValidUtf8(sequence) ||
            (lead >= 0x80 && lead < 0xC0)) {
            std::snprintf(escape, sizeof escape, "\\x%02X", lead);
            out += escape;
            ++pos;
            continue;
        }
        const ListedName asName = toListedName(sequence);
        if (asName.problem == NameProblem::BidiControl ||
            asName.problem == NameProblem::ControlCharacter) {
            unsigned long value = 0;
            for (std::size_t i = 0; i < length; ++i) {
                const auto c = static_cast<unsigned char>(sequence[i]);
                value = (value << 6) | (i == 0 ? (c & (0x7F >> length)) : (c & 0x3F));
            }
            std::snprintf(escape, sizeof escape, "\\u{%04lX}", value);
            out += escape;
        } else {
            out += sequence;
        }
        pos += length;
    }
    return out;
}

} // namespace karvex
