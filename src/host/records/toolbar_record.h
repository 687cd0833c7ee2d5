// The frame toolbar's own record: a block of bytes the toolbar keeps its layout values in and
// whose address its window holds in its first extra long, so that a program can change the
// toolbar by writing into the record (see records.h for addresses). The toolbar holds one; the
// toolkit's operations called by name (toolkit_calls.h) reach the toolbar through the record's
// address.
#pragma once

#include "host/records/records.h"

#include <functional>
#include <string>
#include <vector>

namespace host {

class ToolbarRecord {
public:
    // The record is at least this long; the fields programs write lie below it.
    static constexpr std::size_t kSize = 2568;
    // Handles of the normal and pressed button-face bitmaps. A bitmap a program writes there
    // becomes the toolbar's: it is deleted when another replaces it and with the toolbar.
    static constexpr std::size_t kNormalFaceOffset = 2248;
    static constexpr std::size_t kPressedFaceOffset = 2252;

    // What the toolbar holding the record does when a program calls on it by the record.
    struct Toolbar {
        // The labels of the buttons take this font and size (points).
        std::function<void(const std::string& face, int points)> setLabelFont;
        // The buttons show their texts under the pictures, or the pictures alone.
        std::function<void(bool shown)> setTextsShown;
        // Called after every write into the record, once the record holds the new bytes.
        std::function<void()> recordChanged;
    };

    explicit ToolbarRecord(Toolbar toolbar);
    ToolbarRecord(const ToolbarRecord&) = delete;
    ToolbarRecord& operator=(const ToolbarRecord&) = delete;
    ~ToolbarRecord();

    [[nodiscard]] win32::LONG address() const { return record_.address(); }
    [[nodiscard]] win32::AddressableRecord& record() { return record_; }
    [[nodiscard]] const win32::AddressableRecord& record() const { return record_; }

    // The record at `address`; nullptr for any other address.
    static ToolbarRecord* at(win32::LONG address);

    void setLabelFont(const std::string& face, int points) const;
    void setTextsShown(bool shown) const;

private:
    void faceWritten(std::size_t offset, const std::vector<win32::BYTE>& before);

    Toolbar toolbar_;
    win32::AddressableRecord record_;
};

} // namespace host
