// The runtime's image lists: images of one size, added from bitmaps (masked by a colour) and
// handed out as icons, as the Win32 image lists behave.
#include "host/win32/icons.h"
#include "host/win32/runtime.h"

#include <QImage>
#include <vector>

namespace win32 {

namespace {

struct ImageListObject {
    QSize size;
    UINT flags = 0;
    std::vector<QImage> images; // ARGB32
};

HandleTable<ImageListObject>& imageListTable()
{
    static HandleTable<ImageListObject> table(HandleKind::ImageList);
    return table;
}

} // namespace

HIMAGELIST RTImageList_Create(int cx, int cy, UINT flags, int initial, int /*grow*/)
{
    if (cx <= 0 || cy <= 0) {
        return 0;
    }
    auto list = std::make_unique<ImageListObject>();
    list->size = QSize(cx, cy);
    list->flags = flags;
    list->images.reserve(static_cast<std::size_t>(std::max(0, initial)));
    return imageListTable().add(std::move(list));
}

int RTImageList_AddMasked(HIMAGELIST list, HBITMAP bitmap, COLORREF mask)
{
    ImageListObject* object = imageListTable().find(list);
    const QImage source = bitmapImage(bitmap);
    if (object == nullptr || source.isNull()) {
        return -1;
    }
    QImage picture = source.convertToFormat(QImage::Format_ARGB32);
    if ((object->flags & ILC_MASK) != 0 && mask != CLR_NONE) {
        const QRgb key =
            mask == CLR_DEFAULT
                ? (picture.pixel(0, 0) & 0x00FFFFFFu)
                : qRgb(GetRValue(mask), GetGValue(mask), GetBValue(mask)) & 0x00FFFFFFu;
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x) {
                if ((row[x] & 0x00FFFFFFu) == key) {
                    row[x] = qRgba(0, 0, 0, 0);
                }
            }
        }
    }
    // One image per list width, side by side; QImage::copy pads what lies outside with
    // transparent pixels, so a narrow or short bitmap still gives one whole image.
    const int width = object->size.width();
    const int count = std::max(1, picture.width() / width);
    const int first = static_cast<int>(object->images.size());
    for (int i = 0; i < count; ++i) {
        object->images.push_back(picture.copy(QRect(QPoint(i * width, 0), object->size)));
    }
    return first;
}

HICON RTImageList_GetIcon(HIMAGELIST list, int index, UINT /*flags*/)
{
    const ImageListObject* object = imageListTable().find(list);
    if (object == nullptr || index < 0 || index >= static_cast<int>(object->images.size())) {
        return 0;
    }
    return createIconFromImage(object->images.at(static_cast<std::size_t>(index)));
}

BOOL RTImageList_Destroy(HIMAGELIST list)
{
    return imageListTable().remove(list) ? 1 : 0;
}

} // namespace win32
