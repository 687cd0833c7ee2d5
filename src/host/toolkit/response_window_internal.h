// Host-internal: the Qt dialog of a response window, which hands its events to its window.
#pragma once

#include "host/toolkit/response_window.h"
#include "host/toolkit/window_internal.h"

#include <QDialog>

namespace host {

class ResponseWidget : public QDialog, public WindowLink {
public:
    explicit ResponseWidget(QWidget* parent) : QDialog(parent) {}

    void done(int result) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] ResponseWindow* window() const
    {
        return static_cast<ResponseWindow*>(linkedWindow());
    }
};

} // namespace host
