// The packed bytes of one member, read from the archive file a large block at a time and never
// past the packed size its central record declares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace karvex {

class PackedInput {
public:
    PackedInput(int fd, std::uint64_t offset, std::uint64_t size);

    // Reads the next block when no bytes are waiting; false when the file cannot be read or
    // ends early.
    bool fill();
    const unsigned char* data() const { return buffer_.data() + begin_; }
    std::size_t available() const { return end_ - begin_; }
    void consume(std::size_t size) { begin_ += size; }
    // Every packed byte has been read and consumed.
    bool finished() const { return begin_ == end_ && remaining_ == 0; }
    // The bytes waiting are the last ones.
    bool lastBlock() const { return remaining_ == 0; }

private:
    int fd_;
    std::uint64_t offset_;
    std::uint64_t remaining_;
    std::vector<unsigned char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

} // namespace karvex
