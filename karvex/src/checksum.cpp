#include "checksum.h"

#ifdef KARVEX_WITH_ISAL
#include <isa-l/crc.h>
#else
#include <zlib.h>
#endif

namespace karvex {

std::uint32_t updateCrc32(std::uint32_t crc, const void* data, std::size_t size)
{
#ifdef KARVEX_WITH_ISAL
    const auto* bytes = static_cast<const unsigned char*>(data);
    // ISA-L counts in 64 bits already; nothing to split.
    return crc32_gzip_refl(crc, bytes, size);
#else
    return static_cast<std::uint32_t>(
        crc32_z(crc, static_cast<const Bytef*>(data), static_cast<z_size_t>(size)));
#endif
}

} // namespace karvex
