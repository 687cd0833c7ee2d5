#include "host/toolkit/frame_toolbar.h"

#include "host/toolkit/fonts_internal.h"
#include "host/toolkit/menu_item.h"
#include "host/toolkit/pictures.h"
#include "host/win32/gdi_objects.h"
#include "host/win32/icons.h"
#include "host/win32/messages.h"
#include "host/win32/windows.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QLayout>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <algorithm>

namespace host {

namespace {

constexpr std::size_t kButtonWidth = 2464;
constexpr std::size_t kButtonHeight = 2468;
constexpr std::size_t kFaceWidth = 2476;
constexpr std::size_t kFaceHeight = 2480;
constexpr std::size_t kSeparatorWidth = 2492;
constexpr std::size_t kSeparatorSpace = 2496;
constexpr std::size_t kIconWidth = 2500;
constexpr std::size_t kIconHeight = 2504;
constexpr std::size_t kFaceHeightAgain = 2556;
constexpr std::size_t kFaceWidthAgain = 2564;

QIcon buttonIcon(const MenuItem& item)
{
    QIcon icon(picturePixmap(item.toolbaritemname()));
    const std::string& down =
        item.toolbaritemdownname().empty() ? item.toolbaritemname() : item.toolbaritemdownname();
    const QPixmap downPicture = picturePixmap(down);
    if (!downPicture.isNull()) {
        icon.addPixmap(downPicture, QIcon::Active);
        icon.addPixmap(downPicture, QIcon::Selected);
    }
    return icon;
}

} // namespace

FrameToolbar::FrameToolbar(QWidget* frame, const MenuItem& menu, win32::HWND owner)
    : QToolBar(frame),
      record_({[this](const std::string& face, int points) { setLabelFont(face, points); },
               [this](bool shown) { setTextsShown(shown); }, [this] { recordChanged(); }})
{
    const win32::HWND handle = win32::registerWindow(this);
    win32::setWindowClassName(handle, kFrameToolbarClassName);
    win32::setWindowExtraBytes(handle, 4);
    win32::SetWindowLongA(handle, 0, address());

    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    addButtons(menu, owner);
    defaultIconSize_ = iconSize();
    defaultSpacing_ = layout()->spacing();
    defaultMargins_ = layout()->contentsMargins();
}

FrameToolbar::~FrameToolbar() = default;

void FrameToolbar::addButtons(const MenuItem& menu, win32::HWND owner)
{
    for (int i = 1; i <= menu.itemCount(); ++i) {
        const MenuItem& item = *menu.item(i);
        if (!item.toolbaritemname().empty()) {
            addButton(item, owner);
        }
        addButtons(item, owner);
    }
}

void FrameToolbar::addButton(const MenuItem& item, win32::HWND owner)
{
    if (item.toolbaritemspace() > 0) {
        auto* gap = new QWidget(this); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
        gap->setFixedWidth(item.toolbaritemspace() * kToolbarSpaceUnit);
        addWidget(gap);
    }
    auto* button = new QAction(this); // NOLINT(cppcoreguidelines-owning-memory): Qt parent
    const QString text = QString::fromStdString(item.toolbaritemtext());
    button->setIcon(buttonIcon(item));
    button->setText(text);
    // The label is the toolbar text as it is; Qt would drop a trailing "..." from it.
    button->setIconText(text);
    button->setToolTip(text);
    button->setStatusTip(QString::fromStdString(item.microhelp()));
    button->setEnabled(item.enabled());
    const win32::UINT command = item.commandId();
    QObject::connect(button, &QAction::triggered, this, [owner, command] {
        win32::SendMessageA(owner, win32::WM_COMMAND, win32::MAKEWPARAM(command, 0), 0);
    });
    addAction(button);
    if (QWidget* widget = widgetForAction(button)) {
        widget->installEventFilter(this);
    }
}

void FrameToolbar::setLabelFont(const std::string& face, int points)
{
    QFont label = host::font(face, points > 0 ? points : font().pointSize());
    setFont(label);
    for (QAction* action : actions()) {
        if (QWidget* widget = widgetForAction(action)) {
            widget->setFont(label);
        }
    }
}

void FrameToolbar::setTextsShown(bool shown)
{
    setToolButtonStyle(shown ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
}

bool FrameToolbar::textsShown() const
{
    return toolButtonStyle() != Qt::ToolButtonIconOnly;
}

int FrameToolbar::field(std::size_t offset) const
{
    return record_.record().byteAt(offset);
}

void FrameToolbar::recordChanged()
{
    const QSize icons(field(kIconWidth), field(kIconHeight));
    setIconSize(icons.width() > 0 && icons.height() > 0 ? icons : defaultIconSize_);

    const int faceWidth = std::max(field(kFaceWidth), field(kFaceWidthAgain));
    const int faceHeight = std::max(field(kFaceHeight), field(kFaceHeightAgain));
    const QSize least(std::max(field(kButtonWidth), faceWidth),
                      std::max(field(kButtonHeight), faceHeight));
    for (QAction* action : actions()) {
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action))) {
            button->setMinimumSize(least);
            button->update();
        }
    }

    const int separator = field(kSeparatorWidth);
    layout()->setSpacing(separator > 0 ? separator : defaultSpacing_);
    const int space = field(kSeparatorSpace);
    QMargins margins = defaultMargins_;
    if (space > 0) {
        margins.setLeft(space);
        margins.setRight(space);
    }
    layout()->setContentsMargins(margins);
    layout()->invalidate();
}

bool FrameToolbar::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr || event->type() != QEvent::Paint) {
        return QToolBar::eventFilter(watched, event);
    }
    const bool down = button->isDown() || button->isChecked();
    const auto face = static_cast<win32::HBITMAP>(record_.record().longAt(
        down ? ToolbarRecord::kPressedFaceOffset : ToolbarRecord::kNormalFaceOffset));
    if (face == 0 || win32::handleKind(face) != win32::HandleKind::Bitmap) {
        return QToolBar::eventFilter(watched, event);
    }
    // The face bitmap takes the place of the style's button panel; picture and text go on top.
    QStylePainter painter(button);
    painter.drawImage(button->rect(), win32::bitmapImage(face));
    QStyleOptionToolButton option;
    option.initFrom(button);
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    option.text = button->text();
    option.toolButtonStyle = button->toolButtonStyle();
    option.font = button->font();
    if (down) {
        option.state |= QStyle::State_Sunken;
    }
    painter.drawControl(QStyle::CE_ToolButtonLabel, option);
    return true;
}

} // namespace host
