// A popup that shows one Win32 menu: one action per entry, in entry order. Entries whose type
// carries MFT_OWNERDRAW are sized and painted by their owner window through WM_MEASUREITEM and
// WM_DRAWITEM (OwnerDrawMenuStyle); the others keep the style's own look.
#pragma once

#include "host/win32/types.h"

#include <QMenu>
#include <optional>
#include <vector>

class QAction;

namespace host {

class OwnerDrawMenu : public QMenu {
public:
    OwnerDrawMenu(win32::HMENU menu, win32::HWND owner, QWidget* parent);

    [[nodiscard]] win32::HMENU menuHandle() const { return menu_; }
    [[nodiscard]] win32::HWND owner() const { return owner_; }

    // The actions in entry order (index = Win32 position); set by whoever fills the popup.
    void setEntryActions(std::vector<QAction*> actions) { entryActions_ = std::move(actions); }
    [[nodiscard]] const std::vector<QAction*>& entryActions() const { return entryActions_; }
    // The position of an action's entry, or nothing for an action that is not one of them.
    [[nodiscard]] std::optional<win32::UINT> entryPosition(const QAction* action) const;
    [[nodiscard]] bool hasOwnerDrawnEntries() const;
    [[nodiscard]] bool isOwnerDrawn(const QAction* action) const;

    // Pixels added to the width each owner answers for an entry (0 unless set).
    void setExtraWidth(int pixels) { extraWidth_ = pixels; }
    [[nodiscard]] int extraWidth() const { return extraWidth_; }

    // The action the style is sizing or painting: QMenu prepares a style option for an action
    // right before it asks the style about it.
    [[nodiscard]] const QAction* styledAction() const { return styledAction_; }

protected:
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;

private:
    win32::HMENU menu_;
    win32::HWND owner_;
    std::vector<QAction*> entryActions_;
    mutable const QAction* styledAction_ = nullptr;
    int extraWidth_ = 0;
};

} // namespace host
