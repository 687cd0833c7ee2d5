// The Qt view behind a list view control: reports mouse clicks and double-clicks with the
// 1-based number of the row under the pointer (0 beside the items), and Return or keypad Enter
// with the current row's. Moving the selection with the keyboard raises nothing.
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
    void returnPressedAt(long index);
    // A context menu asked for by the right button (the row under the pointer, 0 beside the
    // rows) or the keyboard (the current row, 0 when there is none), at a global point.
    void contextMenuAt(long index, QPoint global);
    // The font the view shows its labels in has changed (set, or taken from a new parent).
    void fontChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool leftPressed_ = false;
    bool releaseEndsDoubleClick_ = false;
};

} // namespace host
