#include "packed_input.h"

#include "byte_reading.h"

#include <algorithm>

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
    if (!readAt(fd_, offset_, buffer_.data(), want)) {
        return false;
    }
    begin_ = 0;
    end_ = want;
    offset_ += want;
    remaining_ -= want;
    return true;
}

} // namespace karvex
