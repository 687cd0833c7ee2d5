// LZMA (method 14: a small header of its own, then a raw LZMA stream) and xz (method 95),
// through liblzma.
#include "codec_stream.h"

#include <algorithm>
#include <cstdlib>
#include <lzma.h>

namespace karvex {
namespace {

// xz streams may ask for any dictionary; more than this is refused rather than allocated.
constexpr std::uint64_t kXzMemoryLimit = 512ULL << 20;
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
    LzmaStream(PackedInput input, bool raw) : CodecStream(std::move(input)), raw_(raw) {}
    LzmaStream(const LzmaStream&) = delete;
    LzmaStream& operator=(const LzmaStream&) = delete;
    ~LzmaStream() override { lzma_end(&stream_); }

    // Method 14: version (2 bytes), properties size (2 bytes), the properties, then the data.
    // The dictionary never needs to exceed the member's size, whatever the header asks for.
    Error initRaw(std::uint64_t size)
    {
        PackedInput& packed = input();
        if (!packed.fill() || packed.available() < kLzmaHeaderSize + kLzmaPropertiesSize) {
            return Error::CorruptData;
        }
        const unsigned char* header = packed.data();
        const std::size_t propertiesSize = header[2] | (header[3] << 8);
        if (propertiesSize != kLzmaPropertiesSize) {
            return Error::CorruptData;
        }
        lzma_filter filters[2] = {{LZMA_FILTER_LZMA1, nullptr}, {LZMA_VLI_UNKNOWN, nullptr}};
        if (lzma_properties_decode(&filters[0], nullptr, header + kLzmaHeaderSize,
                                   kLzmaPropertiesSize) != LZMA_OK) {
            return Error::CorruptData;
        }
        options_.reset(filters[0].options);
        auto* options = static_cast<lzma_options_lzma*>(filters[0].options);
        options->dict_size = static_cast<std::uint32_t>(std::clamp<std::uint64_t>(
            size, LZMA_DICT_SIZE_MIN,
            std::max<std::uint64_t>(options->dict_size, LZMA_DICT_SIZE_MIN)));
        packed.consume(kLzmaHeaderSize + kLzmaPropertiesSize);
        const lzma_ret result = lzma_raw_decoder(&stream_, filters);
        return result == LZMA_OK          ? Error::None
               : result == LZMA_MEM_ERROR ? Error::Internal
                                          : Error::CorruptData;
    }

    Error initXz()
    {
        const lzma_ret result = lzma_stream_decoder(&stream_, kXzMemoryLimit, 0);
        return result == LZMA_OK          ? Error::None
               : result == LZMA_MEM_ERROR ? Error::Internal
                                          : Error::CorruptData;
    }

protected:
    CodecStep step(const unsigned char* in, std::size_t inSize, char* out, std::size_t outSize,
                   bool lastInput) override
    {
        stream_.next_in = in;
        stream_.avail_in = inSize;
        stream_.next_out = reinterpret_cast<std::uint8_t*>(out);
        stream_.avail_out = outSize;
        const lzma_ret result = lzma_code(&stream_, lastInput ? LZMA_FINISH : LZMA_RUN);
        CodecStep done;
        done.consumed = inSize - stream_.avail_in;
        done.produced = outSize - stream_.avail_out;
        // A raw stream without an end marker ends where its packed bytes do.
        if (result == LZMA_STREAM_END || (result == LZMA_BUF_ERROR && raw_ && lastInput)) {
            done.status = CodecStep::End;
        } else if (result == LZMA_MEM_ERROR) {
            done.status = CodecStep::NoMemory;
        } else if (result != LZMA_OK && result != LZMA_BUF_ERROR) {
            done.status = CodecStep::Failed;
        }
        return done;
    }

    // A raw LZMA stream may end without an end marker when the packer relied on the size.
    bool endsWithInput() const override { return raw_; }

private:
    bool raw_;
    lzma_stream stream_ = LZMA_STREAM_INIT;
    std::unique_ptr<void, FreeOptions> options_;
};

} // namespace

std::unique_ptr<MemberStream> makeLzmaStream(PackedInput input, bool lzmaHeader, std::uint64_t size,
                                             Error& error)
{
    auto stream = std::make_unique<LzmaStream>(std::move(input), lzmaHeader);
    error = lzmaHeader ? stream->initRaw(size) : stream->initXz();
    if (error != Error::None) {
        return nullptr;
    }
    return stream;
}

} // namespace karvex
