#include "handles.h"

namespace win32 {

namespace {
std::array<std::ptrdiff_t, kHandleKindCount>& liveCounts()
{
    static std::array<std::ptrdiff_t, kHandleKindCount> counts{};
    return counts;
}
} // namespace

HandleKind handleKind(HANDLE handle)
{
    const auto tag = static_cast<std::uint8_t>(handle >> 24);
    if (tag == 0 || tag >= kHandleKindCount) {
        return HandleKind{};
    }
    return static_cast<HandleKind>(tag);
}

std::size_t liveHandles(HandleKind kind)
{
    return static_cast<std::size_t>(liveCounts().at(static_cast<std::size_t>(kind)));
}

namespace detail {
HANDLE composeHandle(HandleKind kind, std::uint32_t serial)
{
    return (static_cast<HANDLE>(kind) << 24) | serial;
}

void countHandle(HandleKind kind, std::ptrdiff_t delta)
{
    liveCounts().at(static_cast<std::size_t>(kind)) += delta;
}
} // namespace detail

} // namespace win32
