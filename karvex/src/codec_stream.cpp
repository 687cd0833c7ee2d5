#include "codec_stream.h"

namespace karvex {

std::int64_t CodecStream::read(char* out, std::size_t size, Error& error)
{
    std::size_t produced = 0;
    while (produced < size && !ended_) {
        if (!input_.fill()) {
            error = Error::CorruptData; // the archive file ends inside the packed data
            return -1;
        }
        const CodecStep result = step(input_.data(), input_.available(), out + produced,
                                      size - produced, input_.lastBlock());
        input_.consume(result.consumed);
        produced += result.produced;
        switch (result.status) {
        case CodecStep::End:
            ended_ = true;
            break;
        case CodecStep::Failed:
            error = Error::CorruptData;
            return -1;
        case CodecStep::NoMemory:
            error = Error::Internal;
            return -1;
        case CodecStep::OverMemoryLimit:
            error = Error::NeedsMemory;
            return -1;
        case CodecStep::More:
            if (result.consumed == 0 && result.produced == 0 && input_.finished()) {
                if (!endsWithInput()) {
                    error = Error::CorruptData; // the packed data stops mid-stream
                    return -1;
                }
                ended_ = true;
            }
            break;
        }
    }
    return static_cast<std::int64_t>(produced);
}

} // namespace karvex
