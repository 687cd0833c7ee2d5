#include "host/toolkit/window_functions.h"

#include "host/toolkit/layout_units.h"
#include "host/toolkit/pictures.h"
#include "host/toolkit/window_internal.h"

#include <QIcon>
#include <QMdiSubWindow>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace host {

void close(Window& window)
{
    close(widgetOf(window));
}

void close(QWidget& window)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window.parentWidget())) {
        sub->close();
        return;
    }
    window.close();
}

int workspaceWidth(const QWidget& workspace)
{
    return pixelsToUnitsX(workspace.width());
}

int workspaceHeight(const QWidget& workspace)
{
    return pixelsToUnitsY(workspace.height());
}

void applyTabOrder(QWidget& window)
{
    std::vector<std::pair<int, QWidget*>> ordered;
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const int order = child->property("varnelookTabOrder").toInt();
        if (order > 0 && child->focusPolicy() != Qt::NoFocus) {
            ordered.emplace_back(order, child);
        }
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < ordered.size(); ++i) {
        QWidget::setTabOrder(ordered[i - 1].second, ordered[i].second);
    }
    if (!ordered.empty()) {
        ordered.front().second->setFocus(Qt::TabFocusReason);
    }
}

void setRedraw(QWidget& window, bool redraw)
{
    window.setUpdatesEnabled(redraw);
}

QIcon windowIcon(const std::string& name)
{
    return QIcon(picturePixmap(name));
}

} // namespace host
