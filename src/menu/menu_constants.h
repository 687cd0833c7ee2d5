// The named values of the owner-drawn menu engine: its eleven item looks and five backgrounds,
// and the Win32 values its drawing and menu code passes, under their lower-case Win32 names.
#pragma once

#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/icons.h"
#include "host/win32/menus.h"
#include "host/win32/shapes.h"
#include "host/win32/system.h"
#include "host/win32/text.h"

#include <cstdint>

namespace menu {

struct nvo_supermenu_constants {
    // Item looks, the values of `menustyle`.
    static constexpr std::int16_t style_normal = 1;
    static constexpr std::int16_t style_office2k = 2;
    static constexpr std::int16_t style_style3 = 3;
    static constexpr std::int16_t style_gradient = 4;
    static constexpr std::int16_t style_vgradient = 5;
    static constexpr std::int16_t style_vheadergradient = 6;
    static constexpr std::int16_t style_vedgegradient = 7;
    static constexpr std::int16_t style_officexp = 8;
    static constexpr std::int16_t style_officexp2 = 9;
    static constexpr std::int16_t style_terminal_xp = 10;
    static constexpr std::int16_t style_color_infobk = 11;

    // Item backgrounds, the values of `menubkstyle`.
    static constexpr std::int16_t style_bknormal = 0;
    static constexpr std::int16_t style_bkwhite = 1;
    static constexpr std::int16_t style_bkgray = 2;
    static constexpr std::int16_t style_bkgray_xp = 3;
    static constexpr std::int16_t style_bkamb = 4;

    static constexpr int transparent = win32::TRANSPARENT;

    static constexpr unsigned bdr_raisedouter = win32::BDR_RAISEDOUTER;
    static constexpr unsigned bdr_sunkenouter = win32::BDR_SUNKENOUTER;
    static constexpr unsigned bdr_raisedinner = win32::BDR_RAISEDINNER;
    static constexpr unsigned bdr_sunkeninner = win32::BDR_SUNKENINNER;
    static constexpr unsigned bdr_outer = win32::BDR_OUTER;
    static constexpr unsigned bdr_inner = win32::BDR_INNER;
    static constexpr unsigned bf_left = win32::BF_LEFT;
    static constexpr unsigned bf_right = win32::BF_RIGHT;
    static constexpr unsigned bf_top = win32::BF_TOP;
    static constexpr unsigned bf_bottom = win32::BF_BOTTOM;

    static constexpr int color_background = win32::COLOR_BACKGROUND;
    static constexpr int color_highlight = win32::COLOR_HIGHLIGHT;
    static constexpr int color_highlighttext = win32::COLOR_HIGHLIGHTTEXT;
    static constexpr int color_menu = win32::COLOR_MENU;
    static constexpr int color_window = win32::COLOR_WINDOW;
    static constexpr int color_menutext = win32::COLOR_MENUTEXT;
    static constexpr int color_windowtext = win32::COLOR_WINDOWTEXT;
    static constexpr int color_activecaption = win32::COLOR_ACTIVECAPTION;
    static constexpr int color_btnface = win32::COLOR_BTNFACE;
    static constexpr int color_infobk = win32::COLOR_INFOBK;
    static constexpr int color_btnhighlight = win32::COLOR_BTNHIGHLIGHT;
    static constexpr int color_btnshadow = win32::COLOR_BTNSHADOW;

    static constexpr unsigned mf_bitmap = win32::MF_BITMAP;
    static constexpr unsigned mf_bycommand = win32::MF_BYCOMMAND;
    static constexpr unsigned mf_byposition = win32::MF_BYPOSITION;
    static constexpr unsigned mf_checked = win32::MF_CHECKED;
    static constexpr unsigned mf_disabled = win32::MF_DISABLED;
    static constexpr unsigned mf_enabled = win32::MF_ENABLED;
    static constexpr unsigned mf_grayed = win32::MF_GRAYED;
    static constexpr unsigned mf_menubarbreak = win32::MF_MENUBARBREAK;
    static constexpr unsigned mf_menubreak = win32::MF_MENUBREAK;
    static constexpr unsigned mf_ownerdraw = win32::MF_OWNERDRAW;
    static constexpr unsigned mf_popup = win32::MF_POPUP;
    static constexpr unsigned mf_separator = win32::MF_SEPARATOR;
    static constexpr unsigned mf_string = win32::MF_STRING;
    static constexpr unsigned mf_unchecked = win32::MF_UNCHECKED;

    static constexpr unsigned image_bitmap = win32::IMAGE_BITMAP;
    static constexpr unsigned image_icon = win32::IMAGE_ICON;
    static constexpr unsigned image_cursor = win32::IMAGE_CURSOR;
    static constexpr unsigned image_enhmetafile = win32::IMAGE_ENHMETAFILE;

    static constexpr unsigned lr_defaultcolor = win32::LR_DEFAULTCOLOR;
    static constexpr unsigned lr_monochrome = win32::LR_MONOCHROME;
    static constexpr unsigned lr_color = win32::LR_COLOR;
    static constexpr unsigned lr_copyreturnorg = win32::LR_COPYRETURNORG;
    static constexpr unsigned lr_copydeleteorg = win32::LR_COPYDELETEORG;
    static constexpr unsigned lr_loadfromfile = win32::LR_LOADFROMFILE;
    static constexpr unsigned lr_loadtransparent = win32::LR_LOADTRANSPARENT;
    static constexpr unsigned lr_defaultsize = win32::LR_DEFAULTSIZE;
    static constexpr unsigned lr_vgacolor = win32::LR_VGACOLOR;
    static constexpr unsigned lr_loadmap3dcolors = win32::LR_LOADMAP3DCOLORS;
    static constexpr unsigned lr_createdibsection = win32::LR_CREATEDIBSECTION;
    static constexpr unsigned lr_copyfromresource = win32::LR_COPYFROMRESOURCE;
    static constexpr unsigned lr_shared = win32::LR_SHARED;

    static constexpr int ps_solid = win32::PS_SOLID;
    static constexpr std::uint32_t srccopy = win32::SRCCOPY;

    static constexpr unsigned dt_left = win32::DT_LEFT;
    static constexpr unsigned dt_center = win32::DT_CENTER;
    static constexpr unsigned dt_right = win32::DT_RIGHT;
    static constexpr unsigned dt_vcenter = win32::DT_VCENTER;
    static constexpr unsigned dt_singleline = win32::DT_SINGLELINE;
    static constexpr unsigned dt_calcrect = win32::DT_CALCRECT;

    static constexpr unsigned dst_icon = win32::DST_ICON;
    static constexpr unsigned dst_bitmap = win32::DST_BITMAP;
    static constexpr unsigned dss_normal = win32::DSS_NORMAL;
    static constexpr unsigned dss_disabled = win32::DSS_DISABLED;

    static constexpr int sm_cymenu = win32::SM_CYMENU;
    static constexpr int sm_cxmenucheck = win32::SM_CXMENUCHECK;

    static constexpr int white_brush = win32::WHITE_BRUSH;
    static constexpr int dkgray_brush = win32::DKGRAY_BRUSH;
    static constexpr int black_brush = win32::BLACK_BRUSH;
    static constexpr int null_brush = win32::NULL_BRUSH;
    static constexpr int white_pen = win32::WHITE_PEN;
    static constexpr int black_pen = win32::BLACK_PEN;
    static constexpr int null_pen = win32::NULL_PEN;
    static constexpr int oem_fixed_font = win32::OEM_FIXED_FONT;
    static constexpr int ansi_fixed_font = win32::ANSI_FIXED_FONT;
    static constexpr int ansi_var_font = win32::ANSI_VAR_FONT;
    static constexpr int system_font = win32::SYSTEM_FONT;
};

} // namespace menu
