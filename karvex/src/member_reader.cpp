#include "member_reader.h"

#include "checksum.h"
#include "member_stream.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace karvex {
namespace {

constexpr std::size_t kChunkSize = 1U << 20;
constexpr std::uint16_t kAesMethod = 99;

// Large, and out of all proportion to its packed size: a bomb, true or not.
bool looksLikeBomb(const RecordFields& record)
{
    return record.size > KARVEX_BOMB_MIN_SIZE &&
           record.size / KARVEX_BOMB_MIN_RATIO >= record.compressedSize &&
           record.size > record.compressedSize * KARVEX_BOMB_MIN_RATIO;
}

} // namespace

bool isEncrypted(const RecordFields& record)
{
    return (record.flags & kEncryptedFlag) != 0 ||
           (record.method == kAesMethod && record.hasAesExtra);
}

Error inspectMember(const Archive& /*archive*/, const Member& member, MemberInfo& info)
{
    const RecordFields& record = member.record;
    if (isEncrypted(record)) {
        return Error::Encrypted;
    }
    if (member.recordProblem == RecordProblem::UnsupportedMethod) {
        return Error::UnsupportedMethod;
    }
    if (member.recordProblem != RecordProblem::None) {
        return Error::BadRecord;
    }
    if (looksLikeBomb(record)) {
        return Error::TooBig;
    }
    info.size = record.size;
    info.crc = record.crc;
    info.method = record.method;
    return Error::None;
}

Error copyMember(const Archive& archive, const Member& member, const MemberInfo& info, Sink& sink,
                 std::uint64_t* memoryNeeded)
{
    Error error = Error::None;
    const auto stream = openMemberStream(archive, member, error);
    if (!stream) {
        return error;
    }
    std::vector<char> buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, info.size) + 1));
    std::uint64_t total = 0;
    std::uint32_t crc = 0;
    for (;;) {
        // Never ask for more than one byte past the declared size: that byte proves the archive
        // lied, and a bomb is stopped there instead of being inflated to the end.
        const std::uint64_t remaining = info.size - total;
        const std::size_t want = remaining >= buffer.size() ? buffer.size() : remaining + 1;
        const std::int64_t got = stream->read(buffer.data(), want, error);
        if (got < 0) {
            if (error == Error::NeedsMemory && memoryNeeded != nullptr) {
                *memoryNeeded = stream->memoryNeeded();
            }
            return error;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::uint64_t>(got);
        if (total > info.size) {
            return Error::SizeMismatch;
        }
        crc = updateCrc32(crc, buffer.data(), static_cast<std::size_t>(got));
        if (error = sink.write(buffer.data(), static_cast<std::size_t>(got));
            error != Error::None) {
            return error;
        }
    }
    if (total != info.size) {
        return Error::SizeMismatch;
    }
    return crc == info.crc ? Error::None : Error::BadCrc;
}

} // namespace karvex
