#include "free_space.h"

#include "karvex/karvex.h"

#include <algorithm>
#include <sys/statvfs.h>

namespace karvex {
namespace {

constexpr std::uint64_t kCheckEvery = 64ULL << 20;

} // namespace

Error checkFreeSpace(int folderFd, std::uint64_t size)
{
    struct statvfs fs {};
    if (::fstatvfs(folderFd, &fs) != 0) {
        return Error::None; // no figure to go by: the write itself will find out
    }
    const std::uint64_t blockSize = fs.f_frsize != 0 ? fs.f_frsize : fs.f_bsize;
    if (blockSize == 0 || fs.f_blocks >= UINT64_MAX / blockSize) {
        return Error::None;
    }
    const std::uint64_t free = static_cast<std::uint64_t>(fs.f_bavail) * blockSize;
    const std::uint64_t total = static_cast<std::uint64_t>(fs.f_blocks) * blockSize;
    const std::uint64_t reserve = std::min<std::uint64_t>(total / 100 * KARVEX_FREE_RESERVE_PERCENT,
                                                          KARVEX_FREE_RESERVE_BYTES);
    return size > free || free - size < reserve ? Error::NoSpace : Error::None;
}

Error ReserveGuard::write(const char* data, std::size_t size)
{
    if (written_ >= nextCheck_) {
        // What is still to come must fit above the reserve; what is written already is counted
        // by the file system.
        if (const Error error = checkFreeSpace(folderFd_, size_ - std::min(written_, size_));
            error != Error::None) {
            return error;
        }
        nextCheck_ = written_ + kCheckEvery;
    }
    written_ += size;
    return target_.write(data, size);
}

} // namespace karvex
