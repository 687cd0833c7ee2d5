#include "host/win32/windows.h"

#include <QApplication>
#include <QDialog>
#include <QHash>
#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace win32 {

namespace {

struct StyleWords {
    LONG style = 0;
    LONG exStyle = 0;
};

struct LayeredAttributes {
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
};

struct WindowEntry {
    QPointer<QWidget> widget;
    // Decided on first use, when the widget has found its place (a sheet is registered before
    // the frame puts it into its MDI area).
    std::optional<StyleWords> styles;
    std::optional<LayeredAttributes> layered;
    std::vector<BYTE> extraBytes;
    std::string className;
};

// The bits the widget itself answers for.
constexpr LONG kLiveStyleBits = WS_VISIBLE | WS_DISABLED;

HandleTable<WindowEntry>& windowTable()
{
    static HandleTable<WindowEntry> table(HandleKind::Window);
    return table;
}

QHash<const QWidget*, HWND>& handlesByWidget()
{
    static QHash<const QWidget*, HWND> map;
    return map;
}

bool isSheet(const QWidget& widget)
{
    return qobject_cast<const QMdiSubWindow*>(&widget) != nullptr ||
           qobject_cast<const QMdiSubWindow*>(widget.parentWidget()) != nullptr;
}

StyleWords initialStyles(const QWidget& widget)
{
    if (widget.isWindow() && qobject_cast<const QDialog*>(&widget) != nullptr) {
        return {WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTROLPARENT};
    }
    if (widget.isWindow()) {
        return {WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_WINDOWEDGE};
    }
    if (isSheet(widget)) {
        return {WS_CHILD | WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS,
                WS_EX_MDICHILD | WS_EX_WINDOWEDGE};
    }
    return {WS_CHILD | WS_CLIPSIBLINGS, 0};
}

// The entry of a live window, with its style words decided.
WindowEntry* liveEntry(HWND handle)
{
    WindowEntry* entry = windowTable().find(handle);
    if (entry == nullptr || entry->widget.isNull()) {
        return nullptr;
    }
    if (!entry->styles) {
        entry->styles = initialStyles(*entry->widget);
    }
    return entry;
}

LONG liveStyleBits(const QWidget& widget)
{
    LONG bits = 0;
    if (widget.isVisible()) {
        bits |= WS_VISIBLE;
    }
    if (!widget.isEnabled()) {
        bits |= WS_DISABLED;
    }
    return bits;
}

bool fitsExtraLong(const WindowEntry& entry, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) + sizeof(LONG) <= entry.extraBytes.size();
}

// The registered widgets under `widget` whose nearest registered ancestor is `widget`, in order.
void collectChildWindows(const QWidget& widget, std::vector<HWND>& children)
{
    for (const QObject* object : widget.children()) {
        const auto* child = qobject_cast<const QWidget*>(object);
        if (child == nullptr || child->isWindow()) {
            continue;
        }
        if (const HWND handle = handlesByWidget().value(child, 0); handle != 0) {
            children.push_back(handle);
        } else {
            collectChildWindows(*child, children);
        }
    }
}

std::vector<HWND> childWindows(HWND parent)
{
    std::vector<HWND> children;
    if (parent != 0) {
        collectChildWindows(*windowTable().find(parent)->widget, children);
        return children;
    }
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (const HWND handle = handlesByWidget().value(widget, 0); handle != 0) {
            children.push_back(handle);
        }
    }
    return children;
}

void makeOpaque(WindowEntry& entry)
{
    entry.layered.reset();
    if (entry.widget->isWindow()) {
        entry.widget->setWindowOpacity(1.0);
    }
}

} // namespace

HWND registerWindow(QWidget* widget)
{
    if (widget == nullptr) {
        return 0;
    }
    if (const HWND existing = handleFromWindow(widget); existing != 0) {
        return existing;
    }
    const HWND handle =
        windowTable().add(std::make_unique<WindowEntry>(WindowEntry{widget, {}, {}, {}, {}}));
    handlesByWidget().insert(widget, handle);
    // The handle dies with the widget, so a stale handle can never reach a destroyed widget.
    QObject::connect(widget, &QObject::destroyed, [handle, widget] {
        windowTable().remove(handle);
        handlesByWidget().remove(widget);
    });
    return handle;
}

QWidget* windowFromHandle(HWND handle)
{
    const WindowEntry* entry = windowTable().find(handle);
    return entry == nullptr ? nullptr : entry->widget.data();
}

HWND handleFromWindow(const QWidget* widget)
{
    return handlesByWidget().value(widget, 0);
}

LONG GetWindowLongA(HWND window, int index)
{
    const WindowEntry* entry = liveEntry(window);
    if (entry == nullptr) {
        return 0;
    }
    switch (index) {
    case GWL_STYLE:
        return (entry->styles->style & ~kLiveStyleBits) | liveStyleBits(*entry->widget);
    case GWL_EXSTYLE:
        return entry->styles->exStyle;
    default:
        break;
    }
    LONG value = 0;
    if (!fitsExtraLong(*entry, index)) {
        return 0;
    }
    std::memcpy(&value, entry->extraBytes.data() + index, sizeof value);
    return value;
}

LONG SetWindowLongA(HWND window, int index, LONG value)
{
    WindowEntry* entry = liveEntry(window);
    if (entry == nullptr) {
        return 0;
    }
    const LONG previous = GetWindowLongA(window, index);
    switch (index) {
    case GWL_STYLE:
        entry->styles->style = value & ~kLiveStyleBits;
        break;
    case GWL_EXSTYLE:
        entry->styles->exStyle = value;
        if ((previous & WS_EX_LAYERED) != 0 && (value & WS_EX_LAYERED) == 0) {
            makeOpaque(*entry);
        }
        break;
    default:
        if (!fitsExtraLong(*entry, index)) {
            return 0;
        }
        std::memcpy(entry->extraBytes.data() + index, &value, sizeof value);
        break;
    }
    return previous;
}

void setWindowExtraBytes(HWND window, int count)
{
    if (WindowEntry* entry = liveEntry(window); entry != nullptr && count >= 0) {
        entry->extraBytes.assign(static_cast<std::size_t>(count), 0);
    }
}

void setWindowClassName(HWND window, const std::string& className)
{
    if (WindowEntry* entry = liveEntry(window)) {
        entry->className = className;
    }
}

std::string windowClassName(HWND window)
{
    const WindowEntry* entry = liveEntry(window);
    if (entry == nullptr) {
        return {};
    }
    return entry->className.empty() ? entry->widget->metaObject()->className() : entry->className;
}

HWND FindWindowExA(HWND parent, HWND childAfter, const char* className, const char* windowName)
{
    if (parent != 0 && liveEntry(parent) == nullptr) {
        return 0;
    }
    const std::vector<HWND> children = childWindows(parent);
    auto from = children.begin();
    if (childAfter != 0) {
        from = std::find(children.begin(), children.end(), childAfter);
        if (from == children.end()) {
            return 0;
        }
        ++from;
    }
    for (auto it = from; it != children.end(); ++it) {
        const QWidget* widget = windowFromHandle(*it);
        const bool classMatches =
            className == nullptr ||
            QString::fromStdString(windowClassName(*it))
                    .compare(QString::fromUtf8(className), Qt::CaseInsensitive) == 0;
        const bool nameMatches =
            windowName == nullptr || widget->windowTitle() == QString::fromUtf8(windowName);
        if (classMatches && nameMatches) {
            return *it;
        }
    }
    return 0;
}

BOOL SetLayeredWindowAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags)
{
    WindowEntry* entry = liveEntry(window);
    if (entry == nullptr || (entry->styles->exStyle & WS_EX_LAYERED) == 0 ||
        !entry->widget->isWindow() || (flags & LWA_COLORKEY) != 0) {
        return 0;
    }
    entry->layered = LayeredAttributes{key, alpha, flags};
    const double opacity = (flags & LWA_ALPHA) != 0 ? alpha / 255.0 : 1.0;
    entry->widget->setWindowOpacity(opacity);
    return 1;
}

BOOL GetLayeredWindowAttributes(HWND window, COLORREF* key, BYTE* alpha, DWORD* flags)
{
    const WindowEntry* entry = liveEntry(window);
    if (entry == nullptr || (entry->styles->exStyle & WS_EX_LAYERED) == 0 || !entry->layered) {
        return 0;
    }
    if (key != nullptr) {
        *key = entry->layered->key;
    }
    if (alpha != nullptr) {
        *alpha = entry->layered->alpha;
    }
    if (flags != nullptr) {
        *flags = entry->layered->flags;
    }
    return 1;
}

} // namespace win32
