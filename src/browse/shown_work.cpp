#include "browse/shown_work.h"

#include <array>
#include <cstdio>

namespace browse {

namespace {

// Work shorter than this never shows the progress window.
constexpr int kProgressDelayMilliseconds = 500;

// A size as the progress window shows it.
std::string sizeText(std::uint64_t bytes)
{
    constexpr double kMiB = 1024.0 * 1024.0;
    std::array<char, 32> text{};
    if (bytes < 1024 * 1024) {
        std::snprintf(text.data(), text.size(), "%.1f KB", static_cast<double>(bytes) / 1024.0);
    } else {
        std::snprintf(text.data(), text.size(), "%.1f MB", static_cast<double>(bytes) / kMiB);
    }
    return text.data();
}

} // namespace

void ShownWork::show(host::Sheet& owner, const std::string& title, const std::string& text)
{
    progress_ = std::make_unique<host::ProgressWindow>(owner, title, "取消");
    progress_->setText(text);
    progress_->setProgress(0, 0, "");
    progress_->onCancel([this] { task.cancel(); });
    progress_->showAfter(kProgressDelayMilliseconds);
    busy_.emplace();
}

void ShownWork::report(std::uint64_t done, std::uint64_t total)
{
    if (progress_) {
        progress_->setProgress(done, total, progressFigures(done, total));
    }
}

void ShownWork::hide()
{
    progress_.reset();
    busy_.reset();
}

std::string progressFigures(std::uint64_t done, std::uint64_t total)
{
    const std::uint64_t percent = total == 0 ? 100 : done * 100 / total;
    return sizeText(done) + " / " + sizeText(total) + " (" + std::to_string(percent) + "%)";
}

} // namespace browse
