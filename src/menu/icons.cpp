// Menu icons: turning an item's toolbar picture name (an icon file, a bitmap file or a stock
// picture of the runtime) into an icon handle that the engine owns.
#include "host/win32/icons.h"

#include "host/toolkit/message_box.h"
#include "host/win32/dc.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/gdi_scopes.h"
#include "host/win32/modules.h"
#include "host/win32/runtime.h"
#include "menu/nvo_supermenu_class.h"
#include "menu/text_rules.h"

#include <string>

namespace {

bool contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

} // namespace

// A bitmap becomes a 16 x 16 icon through an image list, its top-left colour transparent. The
// bitmap is deleted.
std::uint32_t nvo_supermenu_class::bitmapToIcon(std::uint32_t bitmap)
{
    const win32::GdiObject owned(bitmap);
    const win32::HIMAGELIST list = win32::RTImageList_Create(16, 16, 33, 4, 4);
    const std::int32_t mask = of_getmaskcolor(bitmap);
    const int index =
        win32::RTImageList_AddMasked(list, bitmap, static_cast<win32::COLORREF>(mask));
    const win32::HICON icon = win32::RTImageList_GetIcon(list, index, 1);
    win32::RTImageList_Destroy(list);
    return icon;
}

std::int32_t nvo_supermenu_class::of_geticonhandle(const std::string& as_iconname)
{
    const std::string lower = menu::lowerAscii(as_iconname);
    if (contains(lower, ".ico")) {
        return static_cast<std::int32_t>(
            win32::LoadImageA(0, as_iconname.c_str(), image_icon, 0, 0, 80));
    }
    if (contains(lower, ".bmp")) {
        const win32::HANDLE bitmap =
            win32::LoadImageA(0, as_iconname.c_str(), image_bitmap, 16, 16, 16);
        return static_cast<std::int32_t>(bitmapToIcon(bitmap));
    }
    if (!contains(as_iconname, "!")) {
        return 0;
    }
    win32::Environment environment;
    if (win32::GetEnvironment(&environment) != 1) {
        host::MessageBox("TIP", "Get the value is wrrong in the Runtime Environment.");
        return -1;
    }
    const std::string library = "HostRT" + std::to_string(environment.majorrevision) + "0.DLL";
    const win32::HMODULE module = win32::LoadLibraryA(library.c_str());
    std::int16_t imageType = 0;
    const std::int32_t id = of_getstockicon(as_iconname, imageType);
    std::uint32_t icon = 0;
    if (id >= 1 && imageType == 0) {
        icon = bitmapToIcon(win32::LoadBitmapA(module, win32::MAKEINTRESOURCEA(id)));
    } else if (id > 0 && imageType == 1) {
        icon = win32::LoadImageA(module, win32::MAKEINTRESOURCEA(id), image_icon, 0, 0, 64);
    }
    win32::FreeLibrary(module);
    return static_cast<std::int32_t>(icon);
}

std::int32_t nvo_supermenu_class::of_getstockicon(const std::string& as_stockbitmap,
                                                  std::int16_t& ai_imagetype)
{
    if (as_stockbitmap.empty()) {
        return -1;
    }
    if (const std::int32_t id = win32::FN_ResGetBitmapID(as_stockbitmap.c_str()); id > 0) {
        ai_imagetype = 0;
        return id;
    }
    ai_imagetype = 1;
    return win32::FN_ResGetIconID(as_stockbitmap.c_str());
}

std::int32_t nvo_supermenu_class::of_getmaskcolor(std::uint32_t al_bitmaphandle)
{
    const win32::HDC screen = win32::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
    const win32::HDC memory = win32::CreateCompatibleDC(screen);
    win32::COLORREF colour = 0;
    {
        const win32::SelectionScope selected(memory, al_bitmaphandle);
        colour = win32::GetPixel(memory, 0, 0);
    }
    win32::DeleteDC(memory);
    win32::DeleteDC(screen);
    return static_cast<std::int32_t>(colour);
}

void nvo_supermenu_class::of_setmenuicon(const std::string& as_type, const std::string& as_itemname,
                                         const std::string& as_icon)
{
    const std::string type = menu::upperAscii(as_type);
    const std::int16_t row = (type == "BYID" || type == "ID") ? of_find_bymenuid(as_itemname)
                                                              : of_find_byname(as_itemname);
    if (row == 0) {
        return;
    }
    ust_menuinfo& record = ist_menuinfo[static_cast<std::size_t>(row - 1)];
    if (record.hicon == 0) {
        record.hicon = static_cast<std::uint32_t>(of_geticonhandle(as_icon));
    }
}
