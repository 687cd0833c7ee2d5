#include "host/toolkit/frame_toolbar.h"

#include "host/toolkit/menu_item.h"
#include "host/toolkit/pictures.h"
#include "host/win32/messages.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>
#include <QWidget>

namespace host {

namespace {

QIcon buttonIcon(const MenuItem& item)
{
    QIcon icon(QPixmap::fromImage(loadPicture(item.toolbaritemname())));
    const std::string& down =
        item.toolbaritemdownname().empty() ? item.toolbaritemname() : item.toolbaritemdownname();
    const QPixmap downPicture = QPixmap::fromImage(loadPicture(down));
    if (!downPicture.isNull()) {
        icon.addPixmap(downPicture, QIcon::Active);
        icon.addPixmap(downPicture, QIcon::Selected);
    }
    return icon;
}

void addButton(QToolBar& toolbar, const MenuItem& item, win32::HWND owner)
{
    if (item.toolbaritemspace() > 0) {
        auto* gap = new QWidget(&toolbar); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
        gap->setFixedWidth(item.toolbaritemspace() * kToolbarSpaceUnit);
        toolbar.addWidget(gap);
    }
    auto* button = new QAction(&toolbar); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
    const QString text = QString::fromStdString(item.toolbaritemtext());
    button->setIcon(buttonIcon(item));
    button->setText(text);
    // The label is the toolbar text as it is; Qt would drop a trailing "..." from it.
    button->setIconText(text);
    button->setToolTip(text);
    button->setStatusTip(QString::fromStdString(item.microhelp()));
    button->setEnabled(item.enabled());
    const win32::UINT command = item.commandId();
    QObject::connect(button, &QAction::triggered, &toolbar, [owner, command] {
        win32::SendMessageA(owner, win32::WM_COMMAND, win32::MAKEWPARAM(command, 0), 0);
    });
    toolbar.addAction(button);
}

void addButtons(QToolBar& toolbar, const MenuItem& menu, win32::HWND owner)
{
    for (int i = 1; i <= menu.itemCount(); ++i) {
        const MenuItem& item = *menu.item(i);
        if (!item.toolbaritemname().empty()) {
            addButton(toolbar, item, owner);
        }
        addButtons(toolbar, item, owner);
    }
}

} // namespace

void fillToolbar(QToolBar& toolbar, const MenuItem& menu, win32::HWND owner)
{
    toolbar.setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    addButtons(toolbar, menu, owner);
}

} // namespace host
