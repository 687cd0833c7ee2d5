// Member names: decoding stored bytes to UTF-8, turning them into the form the list shows, and
// the rules that decide whether a name may be listed and written to disk.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace karvex {

// Why a name cannot be listed; None when it can.
enum class NameProblem : unsigned char {
    None,
    Undecodable,      // neither valid UTF-8 nor GB18030
    Empty,            // nothing left once "." components are dropped
    Absolute,         // starts with a folder separator
    DriveLetter,      // starts with "C:" and the like
    DotDot,           // has a ".." component
    EmptyComponent,   // two separators in a row
    Nul,              // holds a NUL byte
    ControlCharacter, // holds a C0 or C1 control character or DEL
    BidiControl,      // holds a bidirectional formatting character such as U+202E
    Separator,        // holds the list separator "@@"
    TooLong,          // a component over kMaxComponentBytes, or the whole over kMaxNameBytes
    Reserved,         // the file name of the library's own temporary files (".karvex-*.part")
};

// The longest file name component file systems take, and the longest member name: a path the
// platform can still open once a save folder is put in front.
inline constexpr std::size_t kMaxComponentBytes = 255;
inline constexpr std::size_t kMaxNameBytes = 4095;

// A short English phrase for the problem, e.g. "has a \"..\" component".
const char* describe(NameProblem problem);

bool isValidUtf8(std::string_view text);

// GB18030 (a superset of GBK and GB2312) to UTF-8; nothing when the bytes are not GB18030.
std::optional<std::string> gb18030ToUtf8(std::string_view bytes);
// UTF-8 to GBK, for writing names as Chinese Windows does; nothing when a character has no GBK
// form.
std::optional<std::string> utf8ToGbk(std::string_view text);

struct ListedName {
    std::string text;         // the name as listed: "/" separators, "." components dropped
    bool isDirectory = false; // the stored name ended with a separator
    NameProblem problem = NameProblem::None;
};

// The listed form of a decoded name and whether it may be listed. Separators are looked at only
// here, after decoding: GBK's second bytes include '\' and '@'.
ListedName toListedName(std::string_view decoded);

struct NameVerdict {
    bool isDirectory = false;
    NameProblem problem = NameProblem::None;
};
// toListedName without a string of its own: appends the listed form to `out` when the name can
// be listed, and nothing otherwise. Listing a million members makes no allocation per name.
NameVerdict appendListedName(std::string_view decoded, std::string& out);
// Appends the name when it is a plain printable-ASCII path that needs no decoding and no
// rewriting (by far the most common case); false, appending nothing, otherwise.
bool appendPlainName(std::string_view name, std::string& out);

// The problem of a name a caller asks to unpack. A safe name is then looked up exactly as given,
// so "./a.txt" finds nothing even though "a.txt" is listed.
NameProblem checkRequestedName(std::string_view name);

// A name fit for a one-line message: bytes that are not printable UTF-8 as \xNN and
// bidirectional formatting characters as \u{NNNN}, so a hostile name cannot disguise itself.
std::string printableName(std::string_view bytes);

} // namespace karvex
