// An archive with one big member of text-like data (words drawn at random), deflated at level 1
// so that making it stays quick while inflating it takes a while: for pictures and benchmarks of
// long unpacks.
#pragma once

#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <zip.h>

namespace testing_support {

inline bool writeBigMemberArchive(const std::string& path, const std::string& member,
                                  std::uint64_t bytes)
{
    static const char* const kWords[] = {"archive ", "member ", "viewer ", "page ", "river ",
                                         "第",       "卷",      "章",      "文件 ", "书 "};
    std::mt19937 random(11);
    std::string data;
    data.reserve(bytes + 16);
    while (data.size() < bytes) {
        data += kWords[random() % std::size(kWords)];
    }
    data.resize(bytes);
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        return false;
    }
    zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
    const zip_int64_t index =
        source == nullptr ? -1 : zip_file_add(archive, member.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        zip_source_free(source);
        zip_discard(archive);
        return false;
    }
    zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 1);
    // The data must outlive the close, which is when libzip reads it.
    return zip_close(archive) == 0;
}

} // namespace testing_support
