#include "byte_reading.h"

#include <cerrno>
#include <unistd.h>

namespace karvex {

bool readAt(int fd, std::uint64_t offset, void* out, std::size_t size)
{
    auto* bytes = static_cast<unsigned char*>(out);
    while (size > 0) {
        const ssize_t n = ::pread(fd, bytes, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes += n;
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace karvex
