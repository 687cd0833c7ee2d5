#include "member_stream.h"

#include <vector>
#include <zlib.h>

namespace karvex {
namespace {

constexpr std::size_t kInputChunk = 256U << 10;

struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
using ZipFile = std::unique_ptr<zip_file_t, ZipFileClose>;

Error zipError(int code)
{
    switch (code) {
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return Error::Encrypted;
    case ZIP_ER_COMPNOTSUPP:
        return Error::UnsupportedMethod;
    case ZIP_ER_CRC:
        return Error::BadCrc;
    case ZIP_ER_MEMORY:
        return Error::Internal;
    default:
        return Error::CorruptData;
    }
}

// The bytes as libzip hands them out: raw for stored members opened compressed, decompressed
// otherwise.
class LibzipStream : public MemberStream {
public:
    explicit LibzipStream(ZipFile file) : file_(std::move(file)) {}

    std::int64_t read(char* out, std::size_t size, Error& error) override
    {
        const zip_int64_t got = zip_fread(file_.get(), out, size);
        if (got < 0) {
            error = zipError(zip_error_code_zip(zip_file_get_error(file_.get())));
            return -1;
        }
        return got;
    }

private:
    ZipFile file_;
};

class InflateStream : public MemberStream {
public:
    explicit InflateStream(ZipFile file) : file_(std::move(file)), input_(kInputChunk) {}
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

    std::int64_t read(char* out, std::size_t size, Error& error) override
    {
        stream_.next_out = reinterpret_cast<Bytef*>(out);
        stream_.avail_out = static_cast<uInt>(size);
        while (stream_.avail_out > 0 && !ended_) {
            if (stream_.avail_in == 0) {
                const zip_int64_t got = zip_fread(file_.get(), input_.data(), input_.size());
                if (got < 0) {
                    error = zipError(zip_error_code_zip(zip_file_get_error(file_.get())));
                    return -1;
                }
                if (got == 0) {
                    error = Error::CorruptData; // the compressed data stops mid-stream
                    return -1;
                }
                stream_.next_in = reinterpret_cast<Bytef*>(input_.data());
                stream_.avail_in = static_cast<uInt>(got);
            }
            const int result = inflate(&stream_, Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                ended_ = true;
            } else if (result == Z_MEM_ERROR) {
                error = Error::Internal;
                return -1;
            } else if (result != Z_OK && !(result == Z_BUF_ERROR && stream_.avail_in == 0)) {
                error = Error::CorruptData;
                return -1;
            }
        }
        return static_cast<std::int64_t>(size - stream_.avail_out);
    }

private:
    ZipFile file_;
    std::vector<char> input_;
    z_stream stream_{};
    bool initialised_ = false;
    bool ended_ = false;
};

} // namespace

std::unique_ptr<MemberStream> openMemberStream(const Archive& archive, const Member& member,
                                               std::uint16_t method, Error& error)
{
    const bool raw = method == ZIP_CM_STORE || method == ZIP_CM_DEFLATE;
    ZipFile file(zip_fopen_index(archive.zip(), member.index, raw ? ZIP_FL_COMPRESSED : 0));
    if (!file) {
        error = zipError(zip_error_code_zip(zip_get_error(archive.zip())));
        return nullptr;
    }
    if (method != ZIP_CM_DEFLATE) {
        return std::make_unique<LibzipStream>(std::move(file));
    }
    auto stream = std::make_unique<InflateStream>(std::move(file));
    if (!stream->init()) {
        error = Error::Internal;
        return nullptr;
    }
    return stream;
}

} // namespace karvex
