#include "list_json.h"

#include "archive.h"
#include "commands.h"
#include "dos_time.h"
#include "left_out.h"
#include "member_listing.h"

#include <cinttypes>
#include <cstdio>

namespace zqr {
namespace {

// The name of a compression method this library reads; null for the others.
const char* methodName(std::uint16_t method)
{
    switch (method) {
    case 0:
        return "stored";
    case 8:
        return "deflate";
    case 12:
        return "bzip2";
    case 14:
        return "lzma";
    case 93:
        return "zstd";
    case 95:
        return "xz";
    default:
        return nullptr;
    }
}

// The length of the valid UTF-8 sequence at `text[at]`, or 0 when the byte starts none.
std::size_t utf8SequenceAt(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
    } else {
        return 0;
    }
    if (at + length > text.size() || !karvex::isValidUtf8(text.substr(at, length))) {
        return 0;
    }
    return length;
}

std::string hexBytes(std::string_view bytes)
{
    std::string hex;
    char two[3];
    for (const char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", static_cast<unsigned char>(c));
        hex += two;
    }
    return hex;
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = utf8SequenceAt(text, at);
            if (length == 0) {
                out += "\xEF\xBF\xBD";
                ++at;
            } else {
                out.append(text.substr(at, length));
                at += length;
            }
            continue;
        }
        ++at;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            if (byte < 0x20 || byte == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
    return out;
}

std::string isoDateAsStored(std::int64_t asStored)
{
    return storedTimeText(asStored, "%Y-%m-%dT%H:%M:%S");
}

karvex::Error listJson(const std::string& archivePath, KarvexListSummary& summary)
{
    karvex::Error error = karvex::Error::None;
    const auto archive = karvex::Archive::open(archivePath.c_str(), error);
    if (!archive) {
        return error;
    }
    KarvexListSummary counted{};
    std::string out;
    for (const karvex::Member& member : archive->members()) {
        karvex::countEntry(member, counted);
        if (member.isDirectory) {
            continue; // folders are no members of the list, in any of its forms
        }
        const karvex::RecordFields& record = member.record;
        const std::string_view name = archive->name(member);
        const std::string reason = leftOutReason(member);
        const std::string date =
            isoDateAsStored(karvex::DosTimeConverter::asStored(record.dosDate, record.dosTime));
        const char* method = methodName(record.method);
        char numbers[160];
        std::snprintf(numbers, sizeof numbers,
                      ",\"size\":%" PRIu64 ",\"packed_size\":%" PRIu64
                      ",\"method\":%u,\"crc32\":\"%08" PRIx32 "\"",
                      static_cast<std::uint64_t>(record.size),
                      static_cast<std::uint64_t>(record.compressedSize),
                      static_cast<unsigned>(record.method), static_cast<std::uint32_t>(record.crc));
        out += "{\"name\":" + jsonString(name);
        // A name that is not UTF-8 (left out as undecodable) is given byte for byte as well.
        if (!karvex::isValidUtf8(name)) {
            out += ",\"name_hex\":\"" + hexBytes(name) + "\"";
        }
        out += numbers;
        out += std::string(",\"method_name\":") +
               (method != nullptr ? jsonString(method) : std::string("null"));
        out += ",\"modified\":" + (date.empty() ? std::string("null") : jsonString(date));
        out += ",\"left_out\":" + (reason.empty() ? std::string("null") : jsonString(reason));
        out += "}\n";
        if (out.size() >= (1U << 16)) {
            if (!writeOutput(out)) {
                return karvex::Error::Cancelled;
            }
            out.clear();
        }
    }
    if (!writeOutput(out)) {
        return karvex::Error::Cancelled;
    }
    summary = counted;
    return karvex::Error::None;
}

} // namespace zqr
