#include "packed_input.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace karvex {
namespace {

constexpr std::size_t kBlockSize = 256U << 10;

} // namespace

PackedInput::PackedInput(int fd, std::uint64_t offset, std::uint64_t size)
    : fd_(fd), offset_(offset), remaining_(size),
      buffer_(static_cast<std::size_t>(std::min<std::uint64_t>(size, kBlockSize)))
{
}

bool PackedInput::fill()
{
    if (begin_ < end_ || remaining_ == 0) {
        return true;
    }
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, buffer_.size()));
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n =
            ::pread(fd_, buffer_.data() + got, want - got, static_cast<off_t>(offset_ + got));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    begin_ = 0;
    end_ = got;
    offset_ += got;
    remaining_ -= got;
    return true;
}

} // namespace karvex
