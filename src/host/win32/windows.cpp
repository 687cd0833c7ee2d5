#include "host/win32/windows.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace win32 {

namespace {

struct WindowEntry {
    QPointer<QWidget> widget;
};

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

} // namespace

HWND registerWindow(QWidget* widget)
{
    if (widget == nullptr) {
        return 0;
    }
    if (const HWND existing = handleFromWindow(widget); existing != 0) {
        return existing;
    }
    const HWND handle = windowTable().add(std::make_unique<WindowEntry>(WindowEntry{widget}));
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

} // namespace win32
