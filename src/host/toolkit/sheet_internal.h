// Host-internal: the Qt widget of a sheet, which the frame shows in a sub-window and whose
// events it hands to its sheet.
#pragma once

#include "host/toolkit/sheet.h"
#include "host/toolkit/window_internal.h"

#include <QWidget>

namespace host {

class SheetWidget : public QWidget, public WindowLink {
public:
    SheetWidget() = default;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    [[nodiscard]] Sheet* sheet() const { return static_cast<Sheet*>(linkedWindow()); }
};

} // namespace host
