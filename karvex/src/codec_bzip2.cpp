// bzip2 (method 12), through libbz2.
#include "codec_stream.h"

#include <bzlib.h>
#include <climits>

namespace karvex {
namespace {

class Bzip2Stream : public CodecStream {
public:
    explicit Bzip2Stream(PackedInput input) : CodecStream(std::move(input)) {}
    Bzip2Stream(const Bzip2Stream&) = delete;
    Bzip2Stream& operator=(const Bzip2Stream&) = delete;
    ~Bzip2Stream() override
    {
        if (initialised_) {
            BZ2_bzDecompressEnd(&stream_);
        }
    }

    bool init()
    {
        initialised_ = BZ2_bzDecompressInit(&stream_, 0, 0) == BZ_OK;
        return initialised_;
    }

protected:
    CodecStep step(const unsigned char* in, std::size_t inSize, char* out, std::size_t outSize,
                   bool) override
    {
        const auto inBefore = static_cast<unsigned>(inSize > UINT_MAX ? UINT_MAX : inSize);
        const auto outBefore = static_cast<unsigned>(outSize > UINT_MAX ? UINT_MAX : outSize);
        stream_.next_in = const_cast<char*>(reinterpret_cast<const char*>(in)); // NOLINT
        stream_.avail_in = inBefore;
        stream_.next_out = out;
        stream_.avail_out = outBefore;
        const int result = BZ2_bzDecompress(&stream_);
        CodecStep done;
        done.consumed = inBefore - stream_.avail_in;
        done.produced = outBefore - stream_.avail_out;
        if (result == BZ_STREAM_END) {
            done.status = CodecStep::End;
        } else if (result == BZ_MEM_ERROR) {
            done.status = CodecStep::NoMemory;
        } else if (result != BZ_OK) {
            done.status = CodecStep::Failed;
        }
        return done;
    }

private:
    bz_stream stream_{};
    bool initialised_ = false;
};

} // namespace

std::unique_ptr<MemberStream> makeBzip2Stream(PackedInput input, Error& error)
{
    auto stream = std::make_unique<Bzip2Stream>(std::move(input));
    if (!stream->init()) {
        error = Error::Internal;
        return nullptr;
    }
    return stream;
}

} // namespace karvex
