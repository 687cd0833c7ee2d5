// The free-space reserve: an unpack never leaves its file system with less free space than the
// smaller of KARVEX_FREE_RESERVE_PERCENT of its size and KARVEX_FREE_RESERVE_BYTES.
#pragma once

#include "error.h"
#include "member_reader.h"

#include <cstdint>

namespace karvex {

// NoSpace when writing `size` more bytes in the folder open on `folderFd` would eat into the
// reserve.
Error checkFreeSpace(int folderFd, std::uint64_t size);

// Passes bytes on to `target` and checks the reserve again every so often while a large member
// is written, since other programs fill the disk too.
class ReserveGuard : public Sink {
public:
    ReserveGuard(Sink& target, int folderFd, std::uint64_t size)
        : target_(target), folderFd_(folderFd), size_(size)
    {
    }

    Error write(const char* data, std::size_t size) override;

private:
    Sink& target_;
    int folderFd_;
    std::uint64_t size_;
    std::uint64_t written_ = 0;
    std::uint64_t nextCheck_ = 0;
};

} // namespace karvex
