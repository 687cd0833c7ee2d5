// A response window: a modal dialog over a parent window. The program's response windows
// derive from it and override its events.
#pragma once

#include "host/toolkit/window.h"

#include <QDialog>
#include <string>

namespace host {

class ResponseWindow : public QDialog, public Window {
public:
    explicit ResponseWindow(QWidget* parent);
    // Over a window of the program's (nullptr: none).
    explicit ResponseWindow(Window* parent);
    ~ResponseWindow() override;

    // Size of the workspace in layout units.
    void setDesignSize(int width, int height);
    // A window that is not resizable keeps its design size; the user cannot drag its border.
    void setResizable(bool resizable);
    void setBackColor(long color);

    // Raises the open event, then keeps the user in this window until it closes.
    void openModal();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    bool closed_ = false;
    bool resizable_ = true;
};

} // namespace host
