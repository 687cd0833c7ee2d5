// Adjusts the toolbar the toolkit draws for a frame: the labels' font, whether button texts
// show, the separators and the size of the button pictures. It finds the toolbar window among
// the frame's children by class name, takes the address of the toolbar's record from the
// window's first extra long, and changes the toolbar through the toolkit's operations called by
// name and by writing single values into the record.
//
// Unbound (il_ptoolbar 0) until of_inittoolbar succeeds; nothing unbinds it. The bitmap that
// of_inittoolbar makes (il_hbitmap) belongs to the instance: it is deleted when a later
// of_inittoolbar makes another and when the instance goes away. The two button-face bitmaps that
// of_adjusttoolbariconsize writes into the record belong to the toolbar from then on.
#pragma once

#include "host/win32/types.h"

#include <cstdint>
#include <optional>
#include <string>

namespace host {
class Window;
}

class uo_toolbarutil {
public:
    // The Win32 RECT.
    struct rect {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
    };

    uo_toolbarutil() = default;
    uo_toolbarutil(const uo_toolbarutil&) = delete;
    uo_toolbarutil& operator=(const uo_toolbarutil&) = delete;
    ~uo_toolbarutil();

    void of_settoolbarfont(const std::string& as_fontname, std::optional<std::int16_t> ai_fontsize,
                           const std::string& as_extent);
    // Binds the instance to the toolbar of `aw_frame`; false for a null frame or when the frame
    // has no child window of class is_toolclassname.
    bool of_inittoolbar(const host::Window* aw_frame, std::optional<std::int16_t> ai_size);
    void of_toolbarshowtext(std::optional<bool> ib_show);
    void of_adjusttoolbariconsize();
    void of_displayseperator();

    // Instance variables: the toolbar's record address and window, the frame, the bitmap made
    // for the font operation, the class name the toolbar window is found by, the icon size.
    std::int32_t il_ptoolbar = 0;
    std::int32_t il_hbitmap = 0;
    std::int32_t il_hwndtoolbar = 0;
    std::int32_t il_hframe = 0;
    std::string is_toolclassname;
    std::int16_t ii_iconsize = 16;

private:
    // Writes the low 8 bits of `value` at `offset` of the toolbar's record.
    void writeByte(std::int32_t offset, std::int32_t value) const;
};
