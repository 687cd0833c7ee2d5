// The loop every decompressing codec shares: feed the library packed bytes, collect what it
// unpacks, and tell a clean end from a stream that stops short or goes wrong.
#pragma once

#include "member_stream.h"
#include "packed_input.h"

namespace karvex {

// What one call into a decompression library did.
struct CodecStep {
    // OverMemoryLimit: the data asks for a larger dictionary or window than the library allows.
    enum Status { More, End, Failed, NoMemory, OverMemoryLimit };
    std::size_t consumed = 0;
    std::size_t produced = 0;
    Status status = More;
};

class CodecStream : public MemberStream {
public:
    std::int64_t read(char* out, std::size_t size, Error& error) final;

protected:
    explicit CodecStream(PackedInput input) : input_(std::move(input)) {}
    // Unpacks from `in` into `out`; `lastInput` says no packed bytes follow those in `in`.
    virtual CodecStep step(const unsigned char* in, std::size_t inSize, char* out,
                           std::size_t outSize, bool lastInput) = 0;
    // Whether running out of packed bytes now is a clean end (only for formats that may end
    // without a marker of their own, and only once they hold all they should).
    virtual bool endsWithInput() const { return false; }

    PackedInput& input() { return input_; }

private:
    PackedInput input_;
    bool ended_ = false;
};

} // namespace karvex
