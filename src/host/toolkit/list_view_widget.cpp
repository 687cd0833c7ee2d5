#include "host/toolkit/list_view_widget.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace host {

ListViewWidget::ListViewWidget(QWidget* parent) : QListView(parent) {}

long ListViewWidget::itemNumberAt(const QPoint& point) const
{
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() + 1 : 0;
}

void ListViewWidget::mousePressEvent(QMouseEvent* event)
{
    leftPressed_ = event->button() == Qt::LeftButton;
    QListView::mousePressEvent(event);
}

void ListViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    QListView::mouseReleaseEvent(event);
    const bool click = leftPressed_ && event->button() == Qt::LeftButton;
    const bool endOfDoubleClick = releaseEndsDoubleClick_;
    leftPressed_ = false;
    releaseEndsDoubleClick_ = false;
    if (click && !endOfDoubleClick) {
        emit clickedAt(itemNumberAt(event->position().toPoint()));
    }
}

void ListViewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // The release that follows belongs to the double-click, not to a further click.
    releaseEndsDoubleClick_ = true;
    leftPressed_ = false;
    emit doubleClickedAt(itemNumberAt(event->position().toPoint()));
}

void ListViewWidget::changeEvent(QEvent* event)
{
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        emit fontChanged();
    }
}

void ListViewWidget::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) {
        emit contextMenuAt(itemNumberAt(event->pos()), event->globalPos());
        return;
    }
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        emit contextMenuAt(current.row() + 1,
                           viewport()->mapToGlobal(visualRect(current).center()));
        return;
    }
    // No current item: the menu of the list itself, at its top left corner.
    emit contextMenuAt(0, viewport()->mapToGlobal(QPoint(0, 0)));
}

void ListViewWidget::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || !currentIndex().isValid()) {
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
    emit returnPressedAt(currentIndex().row() + 1);
}

} // namespace host
