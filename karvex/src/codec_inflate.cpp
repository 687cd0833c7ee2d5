// Deflate, the method of nearly every member: ISA-L's inflater where the build found it (about
// twice as fast as zlib's), zlib's otherwise.
#include "codec_stream.h"

#ifdef KARVEX_WITH_ISAL
#include <isa-l/igzip_lib.h>
#else
#include <zlib.h>
#endif

#include <climits>

namespace karvex {
namespace {

// The libraries count in 32 bits; larger buffers are fed in pieces.
unsigned clampToUInt(std::size_t size)
{
    return size > UINT_MAX ? UINT_MAX : static_cast<unsigned>(size);
}

#ifdef KARVEX_WITH_ISAL

class InflateStream : public CodecStream {
public:
    explicit InflateStream(PackedInput input)
        : CodecStream(std::move(input)), state_(std::make_unique<inflate_state>())
    {
        isal_inflate_init(state_.get());
        state_->crc_flag = ISAL_DEFLATE; // raw deflate, as ZIP has it
    }

protected:
    CodecStep step(const unsigned char* in, std::size_t inSize, char* out, std::size_t outSize,
                   bool) override
    {
        inflate_state& state = *state_;
        state.next_in = const_cast<unsigned char*>(in); // NOLINT: the library only reads it
        state.avail_in = clampToUInt(inSize);
        state.next_out = reinterpret_cast<unsigned char*>(out);
        state.avail_out = clampToUInt(outSize);
        const unsigned inBefore = state.avail_in;
        const unsigned outBefore = state.avail_out;
        const int result = isal_inflate(&state);
        CodecStep done;
        done.consumed = inBefore - state.avail_in;
        done.produced = outBefore - state.avail_out;
        if (result < 0) {
            done.status = CodecStep::Failed;
        } else if (state.block_state == ISAL_BLOCK_FINISH) {
            done.status = CodecStep::End;
        }
        return done;
    }

private:
    std::unique_ptr<inflate_state> state_; // large: kept off the stack
};

#else

class InflateStream : public CodecStream {
public:
    explicit InflateStream(PackedInput input) : CodecStream(std::move(input)) {}
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
    ~InflateStream() override
    {
        if (initialised_) {
            inflateEnd(&stream_);
        }
    }

    bool init()
    {
        initialised_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; // raw deflate, as ZIP has it
        return initialised_;
    }

protected:
    CodecStep step(const unsigned char* in, std::size_t inSize, char* out, std::size_t outSize,
                   bool) override
    {
        stream_.next_in = const_cast<Bytef*>(in); // NOLINT: zlib only reads it
        stream_.avail_in = clampToUInt(inSize);
        stream_.next_out = reinterpret_cast<Bytef*>(out);
        stream_.avail_out = clampToUInt(outSize);
        const uInt inBefore = stream_.avail_in;
        const uInt outBefore = stream_.avail_out;
        const int result = inflate(&stream_, Z_NO_FLUSH);
        CodecStep done;
        done.consumed = inBefore - stream_.avail_in;
        done.produced = outBefore - stream_.avail_out;
        if (result == Z_STREAM_END) {
            done.status = CodecStep::End;
        } else if (result == Z_MEM_ERROR) {
            done.status = CodecStep::NoMemory;
        } else if (result != Z_OK && result != Z_BUF_ERROR) {
            done.status = CodecStep::Failed;
        }
        return done;
    }

private:
    z_stream stream_{};
    bool initialised_ = false;
};

#endif

} // namespace

std::unique_ptr<MemberStream> makeInflateStream(PackedInput input, Error& error)
{
    auto stream = std::make_unique<InflateStream>(std::move(input));
#ifndef KARVEX_WITH_ISAL
    if (!stream->init()) {
        error = Error::Internal;
        return nullptr;
    }
#endif
    (void)error;
    return stream;
}

} // namespace karvex
