// The names of the engine's looks and backgrounds, as the gallery labels them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace gallery {

struct StyleName {
    std::int16_t value;
    std::string_view name;
};

// menustyle values 1 to 11.
inline constexpr std::array<StyleName, 11> kLooks{{
    {1, "style_normal"},
    {2, "style_office2k"},
    {3, "style_style3"},
    {4, "style_gradient"},
    {5, "style_vgradient"},
    {6, "style_vheadergradient"},
    {7, "style_vedgegradient"},
    {8, "style_officexp"},
    {9, "style_officexp2"},
    {10, "style_terminal_xp"},
    {11, "style_color_infobk"},
}};

// menubkstyle values 0 to 4.
inline constexpr std::array<StyleName, 5> kBackgrounds{{
    {0, "style_bknormal"},
    {1, "style_bkwhite"},
    {2, "style_bkgray"},
    {3, "style_bkgray_xp"},
    {4, "style_bkamb"},
}};

// The look and background the frame chooses when it opens.
inline constexpr std::int16_t kFrameLook = 9;
inline constexpr std::int16_t kFrameBackground = 4;

} // namespace gallery
