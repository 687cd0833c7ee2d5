#include "host/toolkit/context_menu.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/owner_draw_menu.h"
#include "host/toolkit/window_internal.h"
#include "host/win32/system.h"

#include <QAction>
#include <utility>
#include <vector>

namespace host {

namespace {

class HandlerItem : public MenuItem {
public:
    explicit HandlerItem(std::function<void()> handler) : handler_(std::move(handler)) {}
    void clicked() override
    {
        if (handler_) {
            handler_();
        }
    }

private:
    std::function<void()> handler_;
};

} // namespace

ContextMenu::ContextMenu() : root_(MenuItem::create())
{
    // A menu is built as a bar whose one title holds the entries; the popup shows that title's.
    entries_ = &root_->addItem<MenuItem>();
    entries_->setText("context");
}

ContextMenu::~ContextMenu()
{
    shown_.reset();
    if (bar_ != 0) {
        win32::DestroyMenu(bar_);
    }
}

MenuItem& ContextMenu::addEntry(const std::string& text, std::function<void()> handler)
{
    const bool enabled = static_cast<bool>(handler);
    MenuItem& entry = entries_->addItem<HandlerItem>(std::move(handler));
    entry.setText(text);
    entry.setEnabled(enabled && text != "-");
    return entry;
}

void ContextMenu::popup(Frame& frame, Window& parent, const win32::POINT& at)
{
    if (bar_ == 0) {
        bar_ = root_->buildMenuBar();
    }
    if (adoptedBy_ != &frame) {
        adoptedBy_ = &frame;
        frame.adoptPopupMenu(*root_, bar_);
    }
    shown_ =
        std::make_unique<OwnerDrawMenu>(entries_->menuHandle(), frame.handle(), &widgetOf(parent));
    // A Win32 popup widens each owner-drawn entry by a check mark's room, and the engine's
    // painting counts on it: its text starts two pixels right of the icon column it measures,
    // and a greyed text is embossed one pixel further. Without that room the widest entry (the
    // member's details line) loses its last pixels.
    shown_->setExtraWidth(win32::GetSystemMetrics(win32::SM_CXMENUCHECK) - 1);
    // The entries in Win32 order: invisible items have no entry.
    std::vector<QAction*> actions;
    for (int i = 1; i <= entries_->itemCount(); ++i) {
        MenuItem* item = entries_->item(i);
        if (!item->visible()) {
            continue;
        }
        QAction* action = nullptr;
        if (item->text() == "-") {
            action = shown_->addSeparator();
        } else {
            const std::string& text = item->text();
            action = shown_->addAction(QString::fromStdString(text.substr(0, text.find('\t'))));
            action->setEnabled(item->enabled());
            QObject::connect(action, &QAction::triggered, shown_.get(),
                             [item] { raiseEvent([item] { item->clicked(); }); });
        }
        actions.push_back(action);
    }
    shown_->setEntryActions(std::move(actions));
    shown_->popup(QPoint(at.x, at.y));
}

OwnerDrawMenu* ContextMenu::shown() const
{
    return shown_ != nullptr && shown_->isVisible() ? shown_.get() : nullptr;
}

} // namespace host
