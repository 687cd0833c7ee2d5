#include "progress_sink.h"

namespace karvex {
namespace {

constexpr std::uint64_t kReportStep = 1U << 20;

} // namespace

Error ProgressSink::write(const char* data, std::size_t size)
{
    if (const Error error = target_.write(data, size); error != Error::None) {
        return error;
    }
    done_ += size;
    return done_ >= nextReport_ && done_ < total_ ? report() : Error::None;
}

Error ProgressSink::report()
{
    nextReport_ = done_ + kReportStep;
    if (progress_ != nullptr && progress_(context_, done_, total_) != 0) {
        return Error::Cancelled;
    }
    return Error::None;
}

} // namespace karvex
