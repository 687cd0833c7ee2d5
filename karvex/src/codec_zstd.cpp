// Zstandard (method 93), through libzstd. A member may hold several frames one after another.
#include "codec_stream.h"

#include <algorithm>
#include <array>
#include <cstring>
// The frame header's fields, for the window a refused frame asks for.
#define ZSTD_STATIC_LINKING_ONLY
#include <zstd.h>
#include <zstd_errors.h>

namespace karvex {
namespace {

// The window limit as libzstd takes it: a power of two, given by its exponent.
constexpr int kWindowLogMax = 29;
static_assert((1ULL << kWindowLogMax) == KARVEX_DECODER_MEMORY_LIMIT);

// A frame header is 18 bytes at most.
constexpr std::size_t kFrameHeaderMax = ZSTD_FRAMEHEADERSIZE_MAX;

// The window a frame header asks for, or 0 when the bytes do not tell.
std::uint64_t windowOf(const unsigned char* header, std::size_t size)
{
    ZSTD_frameHeader frame{};
    if (ZSTD_getFrameHeader(&frame, header, size) != 0) {
        return 0;
    }
    return frame.windowSize;
}

struct FreeContext {
    void operator()(ZSTD_DCtx* context) const { ZSTD_freeDCtx(context); }
};

class ZstdStream : public CodecStream {
public:
    explicit ZstdStream(PackedInput input)
        : CodecStream(std::move(input)), context_(ZSTD_createDCtx())
    {
    }

    bool init()
    {
        return context_ != nullptr && ZSTD_isError(ZSTD_DCtx_setParameter(
                                          context_.get(), ZSTD_d_windowLogMax, kWindowLogMax)) == 0;
    }

    std::uint64_t memoryNeeded() const override { return memoryNeeded_; }

protected:
    CodecStep step(const unsigned char* in, std::size_t inSize, char* out, std::size_t outSize,
                   bool lastInput) override
    {
        // The frame's first bytes are kept to tell its window when libzstd refuses it.
        const std::size_t seen = std::min(kFrameHeaderMax - headerSize_, inSize);
        std::memcpy(header_.data() + headerSize_, in, seen);
        ZSTD_inBuffer input{in, inSize, 0};
        ZSTD_outBuffer output{out, outSize, 0};
        const std::size_t result = ZSTD_decompressStream(context_.get(), &output, &input);
        CodecStep done;
        done.consumed = input.pos;
        done.produced = output.pos;
        if (ZSTD_isError(result) != 0) {
            switch (ZSTD_getErrorCode(result)) {
            case ZSTD_error_memory_allocation:
                done.status = CodecStep::NoMemory;
                break;
            case ZSTD_error_frameParameter_windowTooLarge:
                memoryNeeded_ = windowOf(header_.data(), headerSize_ + seen);
                done.status = CodecStep::OverMemoryLimit;
                break;
            default:
                done.status = CodecStep::Failed;
                break;
            }
        } else if (result == 0) {
            headerSize_ = 0; // a frame ended; the next one starts at the next byte
            if (lastInput && input.pos == inSize) {
                done.status = CodecStep::End; // and no packed bytes follow
            }
        } else {
            headerSize_ += std::min(kFrameHeaderMax - headerSize_, input.pos);
        }
        return done;
    }

private:
    std::unique_ptr<ZSTD_DCtx, FreeContext> context_;
    std::array<unsigned char, kFrameHeaderMax> header_{};
    std::size_t headerSize_ = 0;
    std::uint64_t memoryNeeded_ = 0;
};

} // namespace

std::unique_ptr<MemberStream> makeZstdStream(PackedInput input, Error& error)
{
    auto stream = std::make_unique<ZstdStream>(std::move(input));
    if (!stream->init()) {
        error = Error::Internal;
        return nullptr;
    }
    return stream;
}

} // namespace karvex
