#include "host/records/toolbar_record.h"

#include "host/win32/gdi_objects.h"

#include <array>
#include <cstring>
#include <map>
#include <utility>

namespace host {

namespace {

std::map<win32::LONG, ToolbarRecord*>& toolbarsByAddress()
{
    static std::map<win32::LONG, ToolbarRecord*> toolbars;
    return toolbars;
}

void deleteFace(win32::LONG handle)
{
    // Only a bitmap: whatever else a program wrote there is not the toolbar's to delete.
    const auto object = static_cast<win32::HGDIOBJ>(handle);
    if (win32::handleKind(object) == win32::HandleKind::Bitmap) {
        win32::DeleteObject(object);
    }
}

} // namespace

ToolbarRecord::ToolbarRecord(Toolbar toolbar) : toolbar_(std::move(toolbar)), record_(kSize)
{
    toolbarsByAddress().emplace(record_.address(), this);
    record_.setWriteObserver([this](std::size_t offset, const std::vector<win32::BYTE>& before) {
        faceWritten(offset, before);
        if (toolbar_.recordChanged) {
            toolbar_.recordChanged();
        }
    });
}

void ToolbarRecord::setLabelFont(const std::string& face, int points) const
{
    if (toolbar_.setLabelFont) {
        toolbar_.setLabelFont(face, points);
    }
}

void ToolbarRecord::setTextsShown(bool shown) const
{
    if (toolbar_.setTextsShown) {
        toolbar_.setTextsShown(shown);
    }
}

void ToolbarRecord::faceWritten(std::size_t offset, const std::vector<win32::BYTE>& before)
{
    for (const std::size_t field : {kNormalFaceOffset, kPressedFaceOffset}) {
        const std::size_t end = offset + before.size();
        if (end <= field || offset >= field + sizeof(win32::LONG)) {
            continue;
        }
        // The field as it was: its current bytes with the replaced ones put back.
        std::array<win32::BYTE, sizeof(win32::LONG)> old{};
        for (std::size_t i = 0; i < old.size(); ++i) {
            const std::size_t at = field + i;
            old[i] = (at >= offset && at < end) ? before[at - offset] : record_.byteAt(at);
        }
        win32::LONG previous = 0;
        std::memcpy(&previous, old.data(), sizeof previous);
        if (previous != record_.longAt(field)) {
            deleteFace(previous);
        }
    }
}

ToolbarRecord::~ToolbarRecord()
{
    toolbarsByAddress().erase(record_.address());
    // The face bitmaps a program hands over become the toolbar's: they go with it.
    for (const std::size_t offset : {kNormalFaceOffset, kPressedFaceOffset}) {
        deleteFace(record_.longAt(offset));
    }
}

ToolbarRecord* ToolbarRecord::at(win32::LONG address)
{
    const auto it = toolbarsByAddress().find(address);
    return it == toolbarsByAddress().end() ? nullptr : it->second;
}

} // namespace host
