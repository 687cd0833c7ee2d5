#include "file_source.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace karvex {
namespace {

// libzip reads a central directory one small record at a time; a window of read-ahead turns
// thousands of tiny reads into a few large ones. Large reads (member data) bypass it.
constexpr zip_uint64_t kWindowSize = 64U << 10;

struct FileSource {
    UniqueFd fd;
    std::vector<char> window;
    zip_uint64_t windowStart = 0;
    zip_uint64_t size = 0;
    time_t mtime = 0;
    zip_uint64_t offset = 0;
    zip_error_t error{};

    FileSource() { zip_error_init(&error); }
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;
    ~FileSource() { zip_error_fini(&error); }
};

// Reads up to `length` bytes at `offset`, fewer only at the end of the file; -1 on error.
zip_int64_t preadFully(FileSource& source, char* out, zip_uint64_t length, zip_uint64_t offset)
{
    zip_uint64_t done = 0;
    while (done < length && offset + done < source.size) {
        const ssize_t n =
            ::pread(source.fd.get(), out + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            zip_error_set(&source.error, ZIP_ER_READ, errno);
            return -1;
        }
        if (n == 0) {
            break; // the file shrank since it was opened: libzip sees a short read
        }
        done += static_cast<zip_uint64_t>(n);
    }
    return static_cast<zip_int64_t>(done);
}

zip_int64_t readAt(FileSource& source, void* data, zip_uint64_t length)
{
    auto* out = static_cast<char*>(data);
    const bool inWindow = source.offset >= source.windowStart &&
                          source.offset + length <= source.windowStart + source.window.size();
    if (!inWindow && length < kWindowSize / 4) {
        source.window.resize(kWindowSize);
        const zip_int64_t got =
            preadFully(source, source.window.data(), kWindowSize, source.offset);
        if (got < 0) {
            source.window.clear();
            return -1;
        }
        source.window.resize(static_cast<std::size_t>(got));
        source.windowStart = source.offset;
    }
    if (source.offset >= source.windowStart &&
        source.offset < source.windowStart + source.window.size()) {
        const zip_uint64_t from = source.offset - source.windowStart;
        const zip_uint64_t n = std::min<zip_uint64_t>(length, source.window.size() - from);
        if (n == length || source.offset + n >= source.size) {
            std::memcpy(out, source.window.data() + from, n);
            source.offset += n;
            return static_cast<zip_int64_t>(n);
        }
    }
    const zip_int64_t got = preadFully(source, out, length, source.offset);
    if (got > 0) {
        source.offset += static_cast<zip_uint64_t>(got);
    }
    return got;
}

zip_int64_t callback(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command)
{
    auto& source = *static_cast<FileSource*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        source.offset = 0;
        return 0;
    case ZIP_SOURCE_READ:
        return readAt(source, data, length);
    case ZIP_SOURCE_CLOSE:
        return 0;
    case ZIP_SOURCE_SEEK: {
        const zip_int64_t to =
            zip_source_seek_compute_offset(source.offset, source.size, data, length, &source.error);
        if (to < 0) {
            return -1;
        }
        source.offset = static_cast<zip_uint64_t>(to);
        return 0;
    }
    case ZIP_SOURCE_TELL:
        return static_cast<zip_int64_t>(source.offset);
    case ZIP_SOURCE_STAT: {
        auto* st = static_cast<zip_stat_t*>(data);
        zip_stat_init(st);
        st->size = source.size;
        st->mtime = source.mtime;
        st->valid = ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&source.error, data, length);
    case ZIP_SOURCE_FREE:
        delete &source; // NOLINT(cppcoreguidelines-owning-memory): libzip hands ownership back
        return 0;
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(
            ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR,
            ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_SUPPORTS, -1);
    default:
        zip_error_set(&source.error, ZIP_ER_OPNOTSUPP, 0);
        return -1;
    }
}

} // namespace

zip_source_t* openFileSource(UniqueFd fd, zip_error_t* error)
{
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        zip_error_set(error, ZIP_ER_READ, errno);
        return nullptr;
    }
    auto source = std::make_unique<FileSource>();
    source->fd = std::move(fd);
    source->size = static_cast<zip_uint64_t>(st.st_size);
    source->mtime = st.st_mtime;
    zip_source_t* zipSource = zip_source_function_create(callback, source.get(), error);
    if (zipSource == nullptr) {
        return nullptr;
    }
    source.release(); // now owned by the zip source, freed on ZIP_SOURCE_FREE
    return zipSource;
}

} // namespace karvex
