// LZMA (method 14: a small header of its own, then a raw LZMA stream) and xz (method 95: one or
// more xz streams, with stream padding between them), through liblzma.
#include "codec_stream.h"

#include <algorithm>
#include <cstdlib>
#include <lzma.h>

namespace karvex {
namespace {

// The decoder's own state on top of its dictionary: a few tens of KiB, well inside this.
constexpr std::uint64_t kStateAllowance = 1ULL << 20;
constexpr std::uint64_t kMemoryLimit = KARVEX_DECODER_MEMORY_LIMIT + kStateAllowance;
constexpr std::size_t kLzmaHeaderSize = 4;
constexpr std::size_t kLzmaPropertiesSize = 5;

struct FreeOptions {
    // liblzma allocates decoded properties with malloc when given no allocator.
    void operator()(void* options) const
    {
        std::free(options); // NOLINT(cppcoreguidelines-no-malloc,cppcoreguidelines-owning-memory)
    }
};

class LzmaStream : public CodecStream {
public:
    // `raw`: method 14, whose stream unpacks to `size` bytes (as declared).
    LzmaStream(PackedInput input, bool raw, std::uint64_t size)
        : CodecStream(std::move(input)), raw_(raw), size_(size)
    {
    }
    LzmaStream(const LzmaStream&) = delete;
    LzmaStream& operator=(const LzmaStream&) = delete;
    ~LzmaStream() override { lzma_end(&stream_); }

    // Stream after stream until the packed data ends; each is held to the memory limit.
    Error initXz()
    {
        const lzma_ret result = lzma_stream_decoder(&stream_, kMemoryLimit, LZMA_CONCATENATED);
        return result == LZMA_OK          ? Error::None
               : result == LZMA_MEM_ERROR ? Error::Internal
                                          : Error::CorruptData;
    }

    std::uint64_t memoryNeeded() const override { return memoryNeeded_; }

protected:
    CodecStep step(const unsigned char* in, std::size_t inSize, char* out, std::size_t outSize,
                   bool lastInput) override
    {
        if (raw_ && !started_) {
            return startRaw(in, inSize);
        }
        stream_.next_in = in;
        stream_.avail_in = inSize;
        stream_.next_out = reinterpret_cast<std::uint8_t*>(out);
        stream_.avail_out = outSize;
        const lzma_ret result = lzma_code(&stream_, lastInput ? LZMA_FINISH : LZMA_RUN);
        CodecStep done;
        done.consumed = inSize - stream_.avail_in;
        done.produced = outSize - stream_.avail_out;
        produced_ += done.produced;
        if (result == LZMA_STREAM_END) {
            done.status = CodecStep::End;
        } else if (result == LZMA_BUF_ERROR && raw_ && lastInput) {
            // A raw stream without an end marker ends where its packed bytes do, but only once
            // it has given every byte it should: one that stops short was cut.
            done.status = endsWithInput() ? CodecStep::End : CodecStep::Failed;
        } else if (result == LZMA_MEMLIMIT_ERROR) {
            memoryNeeded_ = lzma_memusage(&stream_);
            done.status = CodecStep::OverMemoryLimit;
        } else if (result == LZMA_MEM_ERROR) {
            done.status = CodecStep::NoMemory;
        } else if (result != LZMA_OK && result != LZMA_BUF_ERROR) {
            done.status = CodecStep::Failed;
        }
        return done;
    }

    // A raw LZMA stream may end without an end marker when the packer relied on the size.
    bool endsWithInput() const override { return raw_ && produced_ == size_; }

private:
    // Method 14: version (2 bytes), properties size (2 bytes), the properties, then the data.
    // The dictionary never needs to exceed the member's size, whatever the header asks for.
    CodecStep startRaw(const unsigned char* header, std::size_t available)
    {
        CodecStep done;
        done.status = CodecStep::Failed;
        if (available < kLzmaHeaderSize + kLzmaPropertiesSize ||
            (header[2] | (header[3] << 8)) != kLzmaPropertiesSize) {
            return done;
        }
        lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
        if (lzma_properties_decode(&filters[0], nullptr, header + kLzmaHeaderSize,
                                   kLzmaPropertiesSize) != LZMA_OK) {
            return done;
        }
        options_.reset(filters[0].options);
        auto* options = static_cast<lzma_options_lzma*>(filters[0].options);
        options->dict_size = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(
            size_, LZMA_DICT_SIZE_MIN,
            std::max<std::uint64_t>(options->dict_size, LZMA_DICT_SIZE_MIN)));
        if (const std::uint64_t needed = lzma_raw_decoder_memusage(filters);
            needed > kMemoryLimit) {
            memoryNeeded_ = needed;
            done.status = CodecStep::OverMemoryLimit;
            return done;
        }
        const lzma_ret result = lzma_raw_decoder(&stream_, filters);
        if (result != LZMA_OK) {
            done.status = result == LZMA_MEM_ERROR ? CodecStep::NoMemory : CodecStep::Failed;
            return done;
        }
        started_ = true;
        done.consumed = kLzmaHeaderSize + kLzmaPropertiesSize;
        done.status = CodecStep::More;
        return done;
    }

    bool raw_;
    bool started_ = false;
    std::uint64_t size_;
    std::uint64_t produced_ = 0;
    std::uint64_t memoryNeeded_ = 0;
    lzma_stream stream_ = LZMA_STREAM_INIT;
    std::unique_ptr<void, FreeOptions> options_;
};

} // namespace

std::unique_ptr<MemberStream> makeLzmaStream(PackedInput input, bool lzmaHeader, std::uint64_t size,
                                             Error& error)
{
    auto stream = std::make_unique<LzmaStream>(std::move(input), lzmaHeader, size);
    // Method 14's header is read with its first packed bytes, where its memory need shows.
    error = lzmaHeader ? Error::None : stream->initXz();
    if (error != Error::None) {
        return nullptr;
    }
    return stream;
}

} // namespace karvex
