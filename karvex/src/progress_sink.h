// Passes a member's bytes on to another sink and tells the caller's progress callback how far
// the unpack has got, about once per MiB; the callback's answer can cancel the unpack.
#pragma once

#include "karvex/karvex.h"
#include "member_reader.h"

#include <cstdint>

namespace karvex {

class ProgressSink : public Sink {
public:
    // `progress` may be null: then the bytes only pass through.
    ProgressSink(Sink& target, std::uint64_t total, KarvexProgressCallback progress, void* context)
        : target_(target), total_(total), progress_(progress), context_(context)
    {
    }

    Error write(const char* data, std::size_t size) override;
    // Reports the current count, whatever it is; Cancelled when the caller asks to stop.
    Error report();

private:
    Sink& target_;
    std::uint64_t total_;
    KarvexProgressCallback progress_;
    void* context_;
    std::uint64_t done_ = 0;
    std::uint64_t nextReport_ = 0;
};

} // namespace karvex
