// What every control of a window has: position and size in layout units, visibility, font,
// colours, tab order and a window handle. A control is a typed face over its Qt widget; the
// widget belongs to the window (its Qt parent), the control object to the program's window.
#pragma once

#include "host/toolkit/fonts.h"
#include "host/toolkit/window.h"
#include "host/win32/handles.h"

#include <memory>
#include <string>

class QObject;
class QWidget;

namespace host {

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    [[nodiscard]] int x() const { return x_; }
    [[nodiscard]] int y() const { return y_; }
    [[nodiscard]] int width() const { return width_; }
    [[nodiscard]] int height() const { return height_; }
    void setX(int x);
    void setWidth(int width);
    void setHeight(int height);
    void move(int x, int y);
    void resize(int width, int height);

    [[nodiscard]] bool visible() const { return visible_; }
    void setVisible(bool visible);

    void setFont(const std::string& face, int points, FontWeight weight = FontWeight::Normal);
    void setTextColor(long color);
    void setBackColor(long color);

    // The name assistive technology announces for the control: the text a user sees beside it.
    // Controls that show a text of their own (buttons, static texts, group boxes) are named by
    // it, and a picture link by its tooltip, without this.
    void setAccessibleName(const std::string& name);

    // Place in the window's tab sequence; 0 leaves the control out of it.
    void setTabOrder(int order);
    [[nodiscard]] int tabOrder() const;

    void setFocus();
    [[nodiscard]] win32::HWND handle() const;

    // The Qt widget behind the control, for the host and for tests that drive it; nullptr once
    // its window has deleted it.
    [[nodiscard]] QWidget* widget() const;

protected:
    // Takes a widget already parented to its window (widgetOf, window_internal.h).
    explicit Control(QWidget* widget);

    // Called after the font changed, for controls whose layout depends on it.
    virtual void fontChanged() {}

    // The height in pixels the widget takes for a design height of `pixels`. Controls that must
    // show a line of text whole answer more when their font is taller than that.
    [[nodiscard]] virtual int shownHeight(int pixels) const { return pixels; }
    // Places the widget from the position and size in layout units.
    void applyGeometry();

    // The receiver of the widget's signal connections: they end with the control object.
    [[nodiscard]] QObject* context();

private:
    // The widget by a pointer Qt clears, and the connections' receiver.
    struct Links;
    std::unique_ptr<Links> links_;
    int x_ = 0;
    int y_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
};

} // namespace host
