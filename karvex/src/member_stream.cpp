#include "member_stream.h"

#include "byte_reading.h"

#include <cstring>
#include <optional>
#include <string>

namespace karvex {
namespace {

constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::uint32_t kLocalSignature = 0x04034b50;

enum Method : std::uint16_t {
    kStored = 0,
    kDeflated = 8,
    kBzip2 = 12,
    kLzma = 14,
    kZstd = 93,
    kXz = 95,
};

// Stored members: the packed bytes are the member's bytes.
class StoredStream : public MemberStream {
public:
    explicit StoredStream(PackedInput input) : input_(std::move(input)) {}

    std::int64_t read(char* out, std::size_t size, Error& error) override
    {
        std::size_t produced = 0;
        while (produced < size && !input_.finished()) {
            if (!input_.fill()) {
                error = Error::CorruptData;
                return -1;
            }
            const std::size_t n = std::min(size - produced, input_.available());
            std::memcpy(out + produced, input_.data(), n);
            input_.consume(n);
            produced += n;
        }
        return static_cast<std::int64_t>(produced);
    }

private:
    PackedInput input_;
};

// The listed form of a stored name under the same rules as the central directory's names.
std::optional<std::string> listedForm(const std::string& raw, std::uint16_t flags)
{
    std::optional<std::string> decoded;
    if (isValidUtf8(raw)) {
        decoded = raw;
    } else if ((flags & kUtf8NameFlag) == 0) {
        decoded = gb18030ToUtf8(raw);
    }
    if (!decoded) {
        return std::nullopt;
    }
    std::string listed;
    if (appendListedName(*decoded, listed).problem != NameProblem::None) {
        return std::nullopt;
    }
    return listed;
}

} // namespace

bool isSupportedMethod(std::uint16_t method)
{
    switch (method) {
    case kStored:
    case kDeflated:
    case kBzip2:
    case kLzma:
    case kZstd:
    case kXz:
        return true;
    default:
        return false;
    }
}

std::unique_ptr<MemberStream> openMemberStream(const Archive& archive, const Member& member,
                                               Error& error)
{
    const RecordFields& record = member.record;
    const DirectoryLayout& layout = archive.layout();
    const std::uint64_t headerOffset = record.localHeaderOffset + layout.bias;
    unsigned char header[kLocalHeaderSize];
    error = Error::CorruptData;
    if (!readAt(archive.fd(), headerOffset, header, sizeof header) ||
        le32(header) != kLocalSignature) {
        return nullptr;
    }
    const std::size_t nameSize = le16(header + 26);
    const std::size_t extraSize = le16(header + 28);
    const std::uint64_t dataOffset = headerOffset + kLocalHeaderSize + nameSize + extraSize;
    // The packed bytes end before the central directory begins.
    if (dataOffset > layout.start || layout.start - dataOffset < record.compressedSize) {
        return nullptr;
    }
    // A reader that walks the local headers must find the same member under the same name: the
    // same stored bytes where the listed name came from a Unicode Path field.
    std::string localName(nameSize, '\0');
    if (!readAt(archive.fd(), headerOffset + kLocalHeaderSize, localName.data(), nameSize)) {
        return nullptr;
    }
    if (record.unicodePath ? localName != archive.storedName(member)
                           : listedForm(localName, record.flags) != archive.name(member)) {
        error = Error::HeaderMismatch;
        return nullptr;
    }

    PackedInput input(archive.fd(), dataOffset, record.compressedSize);
    error = Error::None;
    std::unique_ptr<MemberStream> stream;
    switch (record.method) {
    case kStored:
        stream = std::make_unique<StoredStream>(std::move(input));
        break;
    case kDeflated:
        stream = makeInflateStream(std::move(input), error);
        break;
    case kBzip2:
        stream = makeBzip2Stream(std::move(input), error);
        break;
    case kLzma:
    case kXz:
        stream = makeLzmaStream(std::move(input), record.method == kLzma, record.size, error);
        break;
    case kZstd:
        stream = makeZstdStream(std::move(input), error);
        break;
    default:
        error = Error::UnsupportedMethod;
        break;
    }
    return stream;
}

} // namespace karvex
