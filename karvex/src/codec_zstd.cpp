// Zstandard (method 93), through libzstd. A member may hold several frames one after another.
#include "codec_stream.h"

#include <zstd.h>
#include <zstd_errors.h>

namespace karvex {
namespace {

struct FreeContext {
    void operator()(ZSTD_DCtx* context) const { ZSTD_freeDCtx(context); }
};

class ZstdStream : public CodecStream {
public:
    explicit ZstdStream(PackedInput input)
        : CodecStream(std::move(input)), context_(ZSTD_createDCtx())
    {
    }

    bool valid() const { return context_ != nullptr; }

protected:
    CodecStep step(const unsigned char* in, std::size_t inSize, char* out, std::size_t outSize,
                   bool lastInput) override
    {
        ZSTD_inBuffer input{in, inSize, 0};
        ZSTD_outBuffer output{out, outSize, 0};
        const std::size_t result = ZSTD_decompressStream(context_.get(), &output, &input);
        CodecStep done;
        done.consumed = input.pos;
        done.produced = output.pos;
        if (ZSTD_isError(result) != 0) {
            done.status = ZSTD_getErrorCode(result) == ZSTD_error_memory_allocation
                              ? CodecStep::NoMemory
                              : CodecStep::Failed;
        } else if (result == 0 && lastInput && input.pos == inSize) {
            done.status = CodecStep::End; // a frame ended, and no packed bytes follow
        }
        return done;
    }

private:
    std::unique_ptr<ZSTD_DCtx, FreeContext> context_;
};

} // namespace

std::unique_ptr<MemberStream> makeZstdStream(PackedInput input, Error& error)
{
    auto stream = std::make_unique<ZstdStream>(std::move(input));
    if (!stream->valid()) {
        error = Error::Internal;
        return nullptr;
    }
    return stream;
}

} // namespace karvex
