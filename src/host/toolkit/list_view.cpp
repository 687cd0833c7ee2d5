#include "host/toolkit/list_view.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/list_view_model.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/natural_order.h"
#include "host/toolkit/pictures.h"
#include "host/toolkit/window_internal.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QItemSelectionModel>
#include <QPalette>
#include <QPixmap>
#include <QString>
#include <QStyle>
#include <algorithm>
#include <exception>
#include <iterator>
#include <utility>

namespace host {

namespace {

constexpr int kLargePicture = 32;
constexpr int kSmallPicture = 16;
constexpr int kLargeCellWidth = 96;
constexpr int kTextGap = 4;
constexpr int kRowPadding = 8;

} // namespace

struct ListView::Item {
    std::string label;
    QString text; // the label for the screen, made when first published
    int picture = 0;
    int width = -1;    // label width in pixels, measured when first published
    bool shown = true; // accepted by the filter
};

struct ListView::Measuring {
    QFont font;
    // Advance of each character in the list's font, so labels are measured without shaping.
    QHash<char32_t, int> advances;
};

ListView::ListView(Window& parent) : ListView(&widgetOf(parent)) {}

ListView::ListView(QWidget* parent)
    : Control(new ListViewWidget(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      view_widget_(static_cast<ListViewWidget*>(widget())),
      model_(std::make_unique<ListViewModel>()), measuring_(std::make_unique<Measuring>()),
      update_([this] { publish(); })
{
    view_widget_->setModel(model_.get());
    view_widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_widget_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_widget_->setUniformItemSizes(true);
    view_widget_->setResizeMode(QListView::Adjust);
    view_widget_->setMovement(QListView::Static);
    connectEvent(&ListViewWidget::clickedAt, clicked_);
    connectEvent(&ListViewWidget::doubleClickedAt, doubleClicked_);
    connectEvent(&ListViewWidget::returnPressedAt, returnPressed_);
    QObject::connect(view_widget_, &ListViewWidget::contextMenuAt, context(),
                     [this](long row, QPoint global) {
                         const long index = itemAtRow(row);
                         const win32::POINT at{global.x(), global.y()};
                         if (contextMenu_) {
                             raiseEvent([this, index, at] { contextMenu_(index, at); });
                         }
                     });
    // A font the view inherits changes without a call of ours; the labels are measured again.
    QObject::connect(view_widget_, &ListViewWidget::fontChanged, context(),
                     [this] { update_.request(); });
    applyView();
}

void ListView::clickItem(long index)
{
    update_.flush();
    QModelIndex row;
    if (index >= 1 && index <= totalitems()) {
        settle();
        row = model_->index(model_->rowOf(order_[static_cast<std::size_t>(index - 1)]), 0);
    }
    if (row.isValid()) {
        view_widget_->setCurrentIndex(row);
        view_widget_->scrollTo(row);
    }
    if (clicked_) {
        raiseEvent([this, index] { clicked_(index); });
    }
}

void ListView::addToCount(const Item& item)
{
    shownCount_ += item.shown ? 1 : 0;
}

ListView::~ListView()
{
    // The view goes with its window; it must not keep a model that dies here.
    if (widget() != nullptr) {
        view_widget_->setModel(nullptr);
    }
}

void ListView::connectEvent(void (ListViewWidget::*signal)(long),
                            std::function<void(long)>& handler)
{
    QObject::connect(view_widget_, signal, context(), [this, &handler](long row) {
        if (handler) {
            // The row is the one the user saw; the item it showed may since have moved.
            const long index = itemAtRow(row);
            raiseEvent([&handler, index] { handler(index); });
        }
    });
}

long ListView::additem(const std::string& label, int pictureIndex)
{
    const auto number = static_cast<std::uint32_t>(items_.size());
    items_.push_back(Item{label, {}, pictureIndex});
    items_.back().shown = !filter_ || filter_(label);
    addToCount(items_.back());
    if (sort_ != Sort::Ascending) {
        order_.push_back(number);
        update_.request();
        return static_cast<long>(order_.size());
    }
    // After every item of an equal label, in the settled order and among the unsettled items.
    const auto after = [this](std::uint32_t added, std::uint32_t shown) {
        return naturalLess(items_[added].label, items_[shown].label);
    };
    const auto settled = std::upper_bound(order_.begin(), order_.end(), number, after);
    const auto unsettled = std::upper_bound(unsettled_.begin(), unsettled_.end(), number, after);
    const auto position = (settled - order_.begin()) + (unsettled - unsettled_.begin());
    unsettled_.insert(unsettled, number);
    update_.request();
    return static_cast<long>(position) + 1;
}

void ListView::additems(std::vector<std::string> labels, int pictureIndex)
{
    if (labels.empty()) {
        return;
    }
    const auto first = static_cast<std::uint32_t>(items_.size());
    for (std::string& label : labels) {
        items_.push_back(Item{std::move(label), {}, pictureIndex});
        items_.back().shown = !filter_ || filter_(items_.back().label);
        addToCount(items_.back());
    }
    std::vector<std::uint32_t>& target = sort_ == Sort::Ascending ? unsettled_ : order_;
    const auto before = static_cast<std::ptrdiff_t>(target.size());
    for (auto number = first; number < items_.size(); ++number) {
        target.push_back(number);
    }
    if (sort_ == Sort::Ascending) {
        // Sorted on their own, then merged after their equals, as one-by-one inserts would go.
        const auto less = [this](std::uint32_t a, std::uint32_t b) {
            return naturalLess(items_[a].label, items_[b].label);
        };
        std::stable_sort(target.begin() + before, target.end(), less);
        std::inplace_merge(target.begin(), target.begin() + before, target.end(), less);
    }
    update_.request();
}

void ListView::settle() const
{
    if (unsettled_.empty()) {
        return;
    }
    // Each new item goes after every settled item of an equal label, as its insert would have.
    const auto before = [this](std::uint32_t added, std::uint32_t settled) {
        return naturalLess(items_[added].label, items_[settled].label);
    };
    std::vector<std::uint32_t> merged;
    merged.reserve(order_.size() + unsettled_.size());
    if (unsettled_.size() * 16 >= order_.size()) {
        // Many new items: one pass over both.
        std::merge(order_.cbegin(), order_.cend(), unsettled_.cbegin(), unsettled_.cend(),
                   std::back_inserter(merged), before);
    } else {
        // A few new items into a long list: each found by binary search, so the merge costs a
        // copy of the list and a few comparisons per new item, not one per item of the list.
        auto from = order_.cbegin();
        for (const std::uint32_t added : unsettled_) {
            const auto at = std::upper_bound(from, order_.cend(), added, before);
            merged.insert(merged.end(), from, at);
            merged.push_back(added);
            from = at;
        }
        merged.insert(merged.end(), from, order_.cend());
    }
    order_ = std::move(merged);
    unsettled_.clear();
}

std::optional<std::string> ListView::getitem(long index) const
{
    if (index < 1 || index > totalitems()) {
        return std::nullopt;
    }
    settle();
    return items_[order_[static_cast<std::size_t>(index - 1)]].label;
}

void ListView::deleteitems()
{
    items_.clear();
    order_.clear();
    unsettled_.clear();
    published_ = 0;
    shownCount_ = 0;
    widestLabel_ = 0;
    marked_.reset();
    // A new list: the one reset of the screen's rows.
    model_->clear();
    update_.request();
}

long ListView::totalitems() const
{
    return static_cast<long>(order_.size() + unsettled_.size());
}

void ListView::setMarkedItem(long index)
{
    marked_.reset();
    if (index >= 1 && index <= totalitems()) {
        settle();
        marked_ = order_[static_cast<std::size_t>(index - 1)];
    }
    // A tint of the selection's colour: apart from the other items, and still distinct from the
    // selection itself.
    QColor tint = view_widget_->palette().color(QPalette::Highlight);
    tint.setAlpha(72);
    model_->setMarkedItem(marked_, QBrush(tint));
}

long ListView::itemAtRow(long row) const
{
    const std::optional<std::uint32_t> number =
        row < 1 ? std::nullopt : model_->numberAt(static_cast<int>(row - 1));
    if (!number) {
        return row < 1 ? row : 0;
    }
    return indexOf(*number);
}

long ListView::indexOf(std::uint32_t number) const
{
    settle();
    const auto at = std::find(order_.begin(), order_.end(), number);
    return at == order_.end() ? 0 : static_cast<long>(at - order_.begin()) + 1;
}

void ListView::setFilter(std::function<bool(const std::string&)> shows)
{
    if (!filter_ && !shows) {
        return;
    }
    filter_ = std::move(shows);
    shownCount_ = 0;
    for (Item& item : items_) {
        item.shown = !filter_ || filter_(item.label);
        addToCount(item);
    }
    // The current item stays current when the filter keeps it.
    const QModelIndex current = view_widget_->currentIndex();
    const std::optional<std::uint32_t> number =
        model_->numberAt(current.isValid() ? current.row() : -1);
    refilter_ = true;
    publish();
    if (number) {
        const QModelIndex row = model_->index(model_->rowOf(*number), 0);
        if (row.isValid()) {
            view_widget_->selectionModel()->setCurrentIndex(row,
                                                            QItemSelectionModel::ClearAndSelect);
            view_widget_->scrollTo(row);
        }
    }
}

std::vector<std::uint32_t> ListView::shownOrder() const
{
    std::vector<std::uint32_t> shown;
    shown.reserve(static_cast<std::size_t>(shownCount_));
    for (const std::uint32_t number : order_) {
        if (items_[number].shown) {
            shown.push_back(number);
        }
    }
    return shown;
}

void ListView::setView(View view)
{
    view_ = view;
    applyView();
}

void ListView::setSorting(Sort sort)
{
    sort_ = sort;
    if (sort_ == Sort::Ascending) {
        settle();
        std::stable_sort(order_.begin(), order_.end(), [this](std::uint32_t a, std::uint32_t b) {
            return naturalLess(items_[a].label, items_[b].label);
        });
        update_.request();
    }
}

void ListView::setBorder(bool border)
{
    view_widget_->setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
}

void ListView::addLargePicture(const std::string& name, long transparent)
{
    largePictures_.emplace_back(name, transparent);
    applyView();
}

void ListView::addSmallPicture(const std::string& name, long transparent)
{
    smallPictures_.emplace_back(name, transparent);
    applyView();
}

void ListView::onClicked(std::function<void(long)> handler)
{
    clicked_ = std::move(handler);
}

void ListView::onDoubleClicked(std::function<void(long)> handler)
{
    doubleClicked_ = std::move(handler);
}

void ListView::onReturnPressed(std::function<void(long)> handler)
{
    returnPressed_ = std::move(handler);
}

void ListView::onContextMenu(std::function<void(long, win32::POINT)> handler)
{
    contextMenu_ = std::move(handler);
}

void ListView::onDragOut(std::function<std::string(long)> handler)
{
    dragOut_ = std::move(handler);
    if (!dragOut_) {
        model_->setDragFiles(nullptr);
    } else {
        model_->setDragFiles([this](std::uint32_t number) {
            const long index = indexOf(number);
            std::string file;
            if (index > 0) {
                raiseEvent([this, index, &file] { file = dragOut_(index); });
            }
            return QString::fromStdString(file);
        });
    }
    applyDragging();
}

void ListView::applyDragging()
{
    // A drag copies; the list takes no drops and never moves its items.
    const bool dragging = static_cast<bool>(dragOut_);
    view_widget_->setDragEnabled(dragging);
    view_widget_->setDragDropMode(dragging ? QAbstractItemView::DragOnly
                                           : QAbstractItemView::NoDragDrop);
    view_widget_->setDefaultDropAction(Qt::CopyAction);
}

void ListView::onToolTip(std::function<std::string(long)> handler)
{
    toolTip_ = std::move(handler);
    if (!toolTip_) {
        model_->setToolTips(nullptr);
        return;
    }
    // Asked for while the view handles the pointer's rest, so not an event of its own: a tooltip
    // that cannot be made shows the label instead of a message box.
    model_->setToolTips([this](std::uint32_t number) {
        const long index = indexOf(number);
        try {
            return QString::fromStdString(toolTip_(index));
        } catch (const std::exception&) {
            return QString::fromStdString(items_[number].label);
        }
    });
}

QSize ListView::rowSize() const
{
    const QFontMetrics metrics(view_widget_->font());
    if (view_ == View::LargeIcon) {
        return {kLargeCellWidth, kLargePicture + 2 * metrics.height() + kRowPadding};
    }
    // The style keeps a margin on both sides of the picture and of the label; without room for
    // them the widest label would be cut short.
    const int margins = 4 * (view_widget_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                                nullptr, view_widget_) +
                             1);
    return {kSmallPicture + kTextGap + widestLabel_ + margins + kRowPadding,
            std::max(kSmallPicture, metrics.height()) + kTextGap};
}

void ListView::publish()
{
    // Each label is measured once; a new font measures them all again.
    const QFont font = view_widget_->font();
    const bool fontChanged = font != measuring_->font;
    measuring_->font = font;
    const QFontMetrics metrics(font);
    if (fontChanged) {
        measuring_->advances.clear();
        widestLabel_ = 0;
        for (std::size_t number = 0; number < published_; ++number) {
            Item& item = items_[number];
            item.width = labelWidth(item.text, metrics);
            widestLabel_ = std::max(widestLabel_, item.width);
        }
    }
    std::vector<ListViewRow> added;
    added.reserve(items_.size() - published_);
    for (std::size_t number = published_; number < items_.size(); ++number) {
        Item& item = items_[number];
        item.text = QString::fromStdString(item.label);
        item.width = labelWidth(item.text, metrics);
        widestLabel_ = std::max(widestLabel_, item.width);
        added.push_back(ListViewRow{item.text, item.picture});
    }
    published_ = items_.size();
    settle();
    model_->setRowSize(rowSize());
    std::vector<std::uint32_t> filtered;
    if (filter_) {
        filtered = shownOrder();
    }
    const std::vector<std::uint32_t>& shown = filter_ ? filtered : order_;
    if (std::exchange(refilter_, false)) {
        model_->reshow(std::move(added), shown);
    } else {
        model_->publish(std::move(added), shown);
    }
}

int ListView::labelWidth(const QString& label, const QFontMetrics& metrics)
{
    // The sum of the characters' own advances: at least the shaped width for the labels' scripts
    // (kerning only narrows), and thousands of labels cost a table look-up per character
    // instead of a text layout each.
    int width = 0;
    const qsizetype length = label.size();
    for (qsizetype at = 0; at < length; ++at) {
        char32_t character = label.at(at).unicode();
        if (QChar::isHighSurrogate(character) && at + 1 < length &&
            label.at(at + 1).isLowSurrogate()) {
            character = QChar::surrogateToUcs4(label.at(at).unicode(), label.at(at + 1).unicode());
            ++at;
        }
        QHash<char32_t, int>& advances = measuring_->advances;
        auto known = advances.constFind(character);
        if (known == advances.constEnd()) {
            known = advances.insert(character,
                                    metrics.horizontalAdvance(QString::fromUcs4(&character, 1)));
        }
        width += known.value();
    }
    return width;
}

void ListView::applyView()
{
    const bool large = view_ == View::LargeIcon;
    const int picture = large ? kLargePicture : kSmallPicture;
    view_widget_->setIconSize(QSize(picture, picture));
    std::vector<QPixmap> pictures;
    for (const auto& [name, transparent] : large ? largePictures_ : smallPictures_) {
        pictures.push_back(picturePixmap(name, transparent, QSize(picture, picture)));
    }
    model_->setPictures(std::move(pictures));

    switch (view_) {
    case View::LargeIcon:
        view_widget_->setViewMode(QListView::IconMode);
        view_widget_->setFlow(QListView::LeftToRight);
        view_widget_->setWrapping(true);
        view_widget_->setWordWrap(true);
        break;
    case View::SmallIcon:
        view_widget_->setViewMode(QListView::ListMode);
        view_widget_->setFlow(QListView::LeftToRight);
        view_widget_->setWrapping(true);
        view_widget_->setWordWrap(false);
        break;
    case View::List:
        view_widget_->setViewMode(QListView::ListMode);
        view_widget_->setFlow(QListView::TopToBottom);
        view_widget_->setWrapping(true);
        view_widget_->setWordWrap(false);
        break;
    case View::Report:
        // Labels in one column, one row each.
        view_widget_->setViewMode(QListView::ListMode);
        view_widget_->setFlow(QListView::TopToBottom);
        view_widget_->setWrapping(false);
        view_widget_->setWordWrap(false);
        break;
    }
    view_widget_->setMovement(QListView::Static);
    // Setting the view mode or the movement switches dragging by the movement: set it again.
    applyDragging();
    publish();
    view_widget_->setGridSize(large ? rowSize() : QSize());
}

} // namespace host
