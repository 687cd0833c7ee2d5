#include "zip_builder.h"

#include <stdexcept>
#include <zlib.h>

namespace karvex_test {
namespace {

void put16(std::string& out, std::uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void put64(std::string& out, std::uint64_t value)
{
    put32(out, static_cast<std::uint32_t>(value));
    put32(out, static_cast<std::uint32_t>(value >> 32));
}

struct Written {
    std::uint64_t offset = 0;
    std::uint32_t crc = 0;
    std::uint64_t size = 0;
    std::uint64_t compressedSize = 0;
};

std::string zip64Extra(const Written& w, bool withOffset)
{
    std::string extra;
    put16(extra, 0x0001);
    put16(extra, withOffset ? 24 : 16);
    put64(extra, w.size);
    put64(extra, w.compressedSize);
    if (withOffset) {
        put64(extra, w.offset);
    }
    return extra;
}

// The fields shared by local and central headers, from "version needed" to the extra length.
void putCommonFields(std::string& out, const ZipEntry& entry, const Written& w,
                     const std::string& name, const std::string& extra)
{
    put16(out, entry.zip64 ? 45 : 20);
    put16(out, entry.flags);
    put16(out, entry.method);
    put16(out, entry.dosTime);
    put16(out, entry.dosDate);
    put32(out, w.crc);
    put32(out, entry.zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(w.compressedSize));
    put32(out, entry.zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(w.size));
    put16(out, static_cast<std::uint32_t>(name.size()));
    put16(out, static_cast<std::uint32_t>(extra.size()));
}

} // namespace

std::string unicodePathField(const std::string& storedName, const std::string& utf8Name)
{
    std::string field;
    put16(field, 0x7075);
    put16(field, static_cast<std::uint32_t>(5 + utf8Name.size()));
    field += '\x01'; // version
    put32(field,
          static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(storedName.data()),
                                           static_cast<uInt>(storedName.size()))));
    field += utf8Name;
    return field;
}

std::string deflateRaw(const std::string& data)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2 failed");
    }
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&stream, Z_FINISH);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("deflate failed");
    }
    out.resize(stream.total_out);
    return out;
}

std::string buildZip(const std::vector<ZipEntry>& entries)
{
    std::string out;
    std::vector<Written> written;
    for (const ZipEntry& entry : entries) {
        if (entry.sharesWith) {
            Written shared = written.at(*entry.sharesWith);
            shared.size = entry.size.value_or(shared.size);
            shared.crc = entry.crc.value_or(shared.crc);
            written.push_back(shared);
            continue;
        }
        const std::string payload = entry.packed        ? *entry.packed
                                    : entry.method == 8 ? deflateRaw(entry.data)
                                                        : entry.data;
        Written w;
        w.offset = out.size();
        w.crc = entry.crc.value_or(
            static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                                             static_cast<uInt>(entry.data.size()))));
        w.size = entry.size.value_or(entry.data.size());
        w.compressedSize = entry.packedSize.value_or(payload.size());
        const std::string extra =
            (entry.zip64 ? zip64Extra(w, false) : std::string()) + entry.extra;
        const std::string& localName = entry.localName ? *entry.localName : entry.name;
        put32(out, 0x04034b50);
        putCommonFields(out, entry, w, localName, extra);
        out += localName;
        out += extra;
        out += payload;
        written.push_back(w);
    }

    const std::uint64_t directoryOffset = out.size();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ZipEntry& entry = entries[i];
        const Written& w = written[i];
        const std::string extra = (entry.zip64 ? zip64Extra(w, true) : std::string()) + entry.extra;
        put32(out, 0x02014b50);
        put16(out, 0x031E); // made by: Unix
        putCommonFields(out, entry, w, entry.name, extra);
        put16(out, 0); // comment length
        put16(out, 0); // disk
        put16(out, 0); // internal attributes
        put32(out, 0100644U << 16);
        put32(out, entry.zip64 ? 0xFFFFFFFF : static_cast<std::uint32_t>(w.offset));
        out += entry.name;
        out += extra;
    }
    const std::uint64_t directorySize = out.size() - directoryOffset;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put32(out, static_cast<std::uint32_t>(directorySize));
    put32(out, static_cast<std::uint32_t>(directoryOffset));
    put16(out, 0);
    return out;
}

} // namespace karvex_test
