#include "host/toolkit/toolbar_record.h"

#include "host/win32/gdi_objects.h"

#include <map>

namespace host {

namespace {

std::map<win32::LONG, ToolbarRecord*>& toolbarsByAddress()
{
    static std::map<win32::LONG, ToolbarRecord*> toolbars;
    return toolbars;
}

} // namespace

ToolbarRecord::ToolbarRecord() : record_(kSize)
{
    toolbarsByAddress().emplace(record_.address(), this);
}

ToolbarRecord::~ToolbarRecord()
{
    toolbarsByAddress().erase(record_.address());
    // The face bitmaps a program hands over become the toolbar's: they go with it.
    for (const std::size_t offset : {kNormalFaceOffset, kPressedFaceOffset}) {
        if (const auto bitmap = static_cast<win32::HGDIOBJ>(record_.longAt(offset)); bitmap != 0) {
            win32::DeleteObject(bitmap);
        }
    }
}

ToolbarRecord* ToolbarRecord::at(win32::LONG address)
{
    const auto it = toolbarsByAddress().find(address);
    return it == toolbarsByAddress().end() ? nullptr : it->second;
}

} // namespace host
