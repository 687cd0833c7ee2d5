// Opaque 32-bit handles for the objects the program asks the platform for (windows, menus,
// device contexts, pens, brushes, fonts, bitmaps, icons, image lists, modules). Each kind has
// its own table; a handle names its kind in its top byte, so a pen is never taken for a brush,
// and every table counts its live objects so tests can prove that nothing leaks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace win32 {

using HANDLE = std::uint32_t;
using HWND = HANDLE;
using HMENU = HANDLE;
using HDC = HANDLE;
using HGDIOBJ = HANDLE;
using HPEN = HANDLE;
using HBRUSH = HANDLE;
using HFONT = HANDLE;
using HBITMAP = HANDLE;
using HICON = HANDLE;
using HIMAGELIST = HANDLE;
using HMODULE = HANDLE;
using HINSTANCE = HANDLE;

enum class HandleKind : std::uint8_t {
    Window = 1,
    Menu,
    DeviceContext,
    Pen,
    Brush,
    Font,
    Bitmap,
    Icon,
    ImageList,
    Module,
};
inline constexpr std::size_t kHandleKindCount = 11;

// The kind a handle value names, or no kind (0) for 0 and for values no table made.
HandleKind handleKind(HANDLE handle);

// Live objects of one kind, summed over every table of that kind.
std::size_t liveHandles(HandleKind kind);

namespace detail {
HANDLE composeHandle(HandleKind kind, std::uint32_t serial);
void countHandle(HandleKind kind, std::ptrdiff_t delta);
} // namespace detail

// Owns the objects behind the handles of one kind. Serials start at 1 and are not reused until
// the 24-bit counter wraps, so a stale handle finds nothing instead of a newer object.
template <typename Object> class HandleTable {
public:
    explicit HandleTable(HandleKind kind) : kind_(kind) {}
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;
    ~HandleTable()
    {
        detail::countHandle(kind_, -static_cast<std::ptrdiff_t>(objects_.size() - permanentCount_));
    }

    HANDLE add(std::unique_ptr<Object> object)
    {
        HANDLE handle = 0;
        do {
            serial_ = (serial_ + 1) & kSerialMask;
            if (serial_ == 0) {
                serial_ = 1;
            }
            handle = detail::composeHandle(kind_, serial_);
        } while (objects_.contains(handle));
        objects_.emplace(handle, std::move(object));
        detail::countHandle(kind_, 1);
        return handle;
    }

    // An object that lives as long as the table (stock objects): not counted as live, and
    // take() and remove() refuse it.
    HANDLE addPermanent(std::unique_ptr<Object> object)
    {
        const HANDLE handle = add(std::move(object));
        detail::countHandle(kind_, -1);
        ++permanentCount_;
        permanent_.insert(handle);
        return handle;
    }

    [[nodiscard]] bool isPermanent(HANDLE handle) const { return permanent_.contains(handle); }

    [[nodiscard]] Object* find(HANDLE handle) const
    {
        const auto it = objects_.find(handle);
        return it == objects_.end() ? nullptr : it->second.get();
    }

    std::unique_ptr<Object> take(HANDLE handle)
    {
        const auto it = objects_.find(handle);
        if (it == objects_.end() || isPermanent(handle)) {
            return nullptr;
        }
        auto object = std::move(it->second);
        objects_.erase(it);
        detail::countHandle(kind_, -1);
        return object;
    }

    bool remove(HANDLE handle) { return take(handle) != nullptr; }

    [[nodiscard]] std::size_t size() const { return objects_.size(); }
    [[nodiscard]] HandleKind kind() const { return kind_; }

    template <typename Visit> void forEach(Visit&& visit) const
    {
        for (const auto& [handle, object] : objects_) {
            visit(handle, *object);
        }
    }

private:
    static constexpr std::uint32_t kSerialMask = 0x00FFFFFFu;
    HandleKind kind_;
    std::uint32_t serial_ = 0;
    std::size_t permanentCount_ = 0;
    std::unordered_map<HANDLE, std::unique_ptr<Object>> objects_;
    std::unordered_set<HANDLE> permanent_;
};

} // namespace win32
