// The Qt view behind a list view control: reports mouse clicks and double-clicks with the
// 1-based number of the item under the pointer (0 beside the items). Keyboard selection raises
// nothing, as the program's list views react to the mouse only.
#pragma once

#include <QListView>

namespace host {

class ListViewWidget : public QListView {
    Q_OBJECT
public:
    explicit ListViewWidget(QWidget* parent);

    // 1-based number of the item at a point of the viewport, 0 when no item is there.
    [[nodiscard]] long itemNumberAt(const QPoint& point) const;

signals:
    void clickedAt(long index);
    void doubleClickedAt(long index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool leftPressed_ = false;
    bool releaseEndsDoubleClick_ = false;
};

} // namespace host
