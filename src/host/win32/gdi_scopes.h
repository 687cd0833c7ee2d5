// Scope guards for device-context state: a selection that puts the previous object back, and an
// owner that deletes a pen, brush, font or bitmap. Declare the owner before the selection that
// uses its object, so the object is selected out before it is deleted.
#pragma once

#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"

#include <utility>

namespace win32 {

// Selects an object into a DC for a scope and selects the object it replaced back at the end.
// When the selection fails (previous() is 0) nothing is put back.
class SelectionScope {
public:
    SelectionScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectionScope(const SelectionScope&) = delete;
    SelectionScope& operator=(const SelectionScope&) = delete;
    ~SelectionScope()
    {
        if (previous_ != 0) {
            SelectObject(dc_, previous_);
        }
    }

    [[nodiscard]] HGDIOBJ previous() const { return previous_; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Owns a pen, brush, font or bitmap and deletes it at the end of its life. Movable, so a
// function can make an object and hand its ownership out.
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, 0)) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        if (this != &other) {
            reset(std::exchange(other.object_, 0));
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }

    [[nodiscard]] HGDIOBJ get() const { return object_; }
    // Gives the object up without deleting it.
    [[nodiscard]] HGDIOBJ release() { return std::exchange(object_, 0); }
    void reset(HGDIOBJ object = 0)
    {
        if (object_ != 0) {
            DeleteObject(object_);
        }
        object_ = object;
    }

private:
    HGDIOBJ object_ = 0;
};

} // namespace win32
