// Zstandard (method 93), through libzstd. A member may hold several frames one after another.
#include "codec_stream.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <zstd.h>
#include <zstd_errors.h>

namespace karvex {
namespace {

// The window limit as libzstd takes it: a power of two, given by its exponent.
constexpr int kWindowLogMax = 29;
static_assert((1ULL << kWindowLogMax) == KARVEX_DECODER_MEMORY_LIMIT);

constexpr std::uint32_t kFrameMagic = 0xFD2FB528;
// Magic, frame header descriptor, window descriptor or dictionary id, content size: 18 at most.
constexpr std::size_t kFrameHeaderMax = 18;

// The window a frame header asks for, or 0 when the bytes do not tell.
std::uint64_t windowOf(const unsigned char* header, std::size_t size)
{
    if (size < 6 || (header[0] | header[1] << 8 | header[2] << 16 |
                     static_cast<std::uint32_t>(header[3]) << 24) != kFrameMagic) {
        return 0;
    }
    const unsigned descriptor = header[4];
    if ((descriptor & 0x20) == 0) { // not single-segment: a window descriptor follows
        const unsigned windowLog = 10 + (header[5] >> 3U);
        const std::uint64_t base = 1ULL << windowLog;
        return base + base / 8 * (header[5] & 7U);
    }
    // Single-segment: the window is the content size, after the dictionary id.
    static constexpr std::array<std::size_t, 4> kDictionaryIdSize{0, 1, 2, 4};
    static constexpr std::array<std::size_t, 4> kContentSizeSize{1, 2, 4, 8};
    const std::size_t at = 5 + kDictionaryIdSize[descriptor & 3U];
    const std::size_t length = kContentSizeSize[descriptor >> 6U];
    if (size < at + length) {
        return 0;
    }
    std::uint64_t contentSize = 0;
    for (std::size_t i = length; i-- > 0;) {
        contentSize = contentSize << 8 | header[at + i];
    }
    return length == 2 ? contentSize + 256 : contentSize;
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
