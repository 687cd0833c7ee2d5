// A response window: a modal dialog over a parent window. The program's response windows
// derive from it and override its events.
#pragma once

#include "host/win32/handles.h"

#include <QDialog>
#include <string>

namespace host {

class ResponseWindow : public QDialog {
public:
    explicit ResponseWindow(QWidget* parent);
    ~ResponseWindow() override;

    [[nodiscard]] std::string title() const;
    void setTitle(const std::string& title);
    void setIcon(const std::string& pictureName);
    [[nodiscard]] win32::HWND handle() const;
    void setredraw(bool redraw);
    [[nodiscard]] int workspacewidth() const;
    [[nodiscard]] int workspaceheight() const;
    // Size of the workspace in layout units.
    void setDesignSize(int width, int height);
    // A window that is not resizable keeps its design size; the user cannot drag its border.
    void setResizable(bool resizable);
    void setBackColor(long color);

    // Raises the open event, then keeps the user in this window until it closes.
    void openModal();

protected:
    virtual void onOpen() {}
    virtual void onClose() {}
    virtual void onResize(int sizetype, int newwidth, int newheight);

    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    bool closed_ = false;
    bool resizable_ = true;
};

} // namespace host
