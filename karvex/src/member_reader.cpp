#include "member_reader.h"

#include "member_stream.h"

#include <algorithm>
#include <memory>
#include <vector>
#include <zlib.h>

namespace karvex {
namespace {

constexpr std::size_t kChunkSize = 1U << 20;
constexpr std::uint16_t kEncryptedFlag = 1U << 0;

} // namespace

Error inspectMember(const Archive& archive, const Member& member, MemberInfo& info)
{
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive.zip(), member.index, 0, &st) != 0) {
        return Error::CorruptData;
    }
    const zip_flags_t needed = ZIP_STAT_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD;
    if ((st.valid & needed) != needed) {
        return Error::CorruptData;
    }
    if (((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)) {
        return Error::Encrypted;
    }
    // An encrypted bit that libzip did not map to a known method still means encrypted.
    if ((member.record.flags & kEncryptedFlag) != 0) {
        return Error::Encrypted;
    }
    if (!zip_compression_method_supported(st.comp_method, 0)) {
        return Error::UnsupportedMethod;
    }
    info.size = st.size;
    info.crc = st.crc;
    info.method = st.comp_method;
    return Error::None;
}

Error copyMember(const Archive& archive, const Member& member, const MemberInfo& info, Sink& sink)
{
    Error error = Error::None;
    const auto stream = openMemberStream(archive, member, info.method, error);
    if (!stream) {
        return error;
    }
    std::vector<char> buffer(
        static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, info.size) + 1));
    std::uint64_t total = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    for (;;) {
        // Never ask for more than one byte past the declared size: that byte proves the archive
        // lied, and a bomb is stopped there instead of being inflated to the end.
        const std::uint64_t remaining = info.size - total;
        const std::size_t want = remaining >= buffer.size() ? buffer.size() : remaining + 1;
        const std::int64_t got = stream->read(buffer.data(), want, error);
        if (got < 0) {
            return error;
        }
        if (got == 0) {
            break;
        }
        total += static_cast<std::uint64_t>(got);
        if (total > info.size) {
            return Error::SizeMismatch;
        }
        crc = crc32_z(crc, reinterpret_cast<const Bytef*>(buffer.data()),
                      static_cast<std::size_t>(got));
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
