#include "host/toolkit/list_view.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/list_view_model.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/name_order_internal.h"
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
#include <QStyledItemDelegate>
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

// A label without spaces too wide for a large icon's cell, which the view would cut after its
// first characters however alike the labels: its start fills the first of the cell's two lines
// and its end the second, the middle left out, so labels that differ at their end stay apart.
// Labels with spaces are wrapped at them by the view.
QString twoLines(const QString& label, const QFontMetrics& metrics, int width)
{
    if (label.contains(QChar(u' ')) || metrics.horizontalAdvance(label) <= width) {
        return label;
    }
    qsizetype first = 0;
    while (first < label.size() && metrics.horizontalAdvance(label.left(first + 1)) <= width) {
        ++first;
    }
    if (first > 0 && label.at(first - 1).isHighSurrogate()) {
        --first; // a character in two halves stays whole
    }
    if (first == 0) {
        return label;
    }
    return label.left(first) + QChar(QChar::LineSeparator) +
           metrics.elidedText(label.mid(first), Qt::ElideLeft, width);
}

} // namespace

// Paints the labels; in the large-icon view a long label without spaces takes the cell's two
// lines (twoLines), on the screen only: the label the model gives stays whole.
class ListView::LabelsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setTwoLines(bool twoLines) { twoLines_ = twoLines; }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (twoLines_ && option->features.testFlag(QStyleOptionViewItem::HasDisplay)) {
            // The style keeps a margin on both sides of the label, and a little more for safety.
            const int margin = option->widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                                    nullptr, option->widget) +
                               2;
            option->text =
                twoLines(option->text, option->fontMetrics, kLargeCellWidth - 2 * margin);
        }
    }

private:
    bool twoLines_ = false;
};

struct ListView::Item {
    std::string label;
    QString text; // the label for the screen, made when first published or sorted
    int picture = 0;
    int width = -1;    // label width in pixels, measured when first published
    bool shown = true; // accepted by the filter
    // The label's place in the order of names, made once when the list is sorted.
    std::optional<QCollatorSortKey> key{};
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
    // A label too long for its place keeps its start and its end, where names differ most
    // often ("report-2023-03.pdf", numbered copies), not only its start.
    view_widget_->setTextElideMode(Qt::ElideMiddle);
    // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): Qt parent, the view
    labelsDelegate_ = new LabelsDelegate(view_widget_);
    view_widget_->setItemDelegate(labelsDelegate_);
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

void ListView::makeKey(Item& item)
{
    if (!item.key) {
        item.text = QString::fromStdString(item.label);
        item.key = nameSortKey(item.text);
    }
}

bool ListView::sortsBefore(std::uint32_t a, std::uint32_t b) const
{
    const Item& first = items_[a];
    const Item& second = items_[b];
    return compareNameKeys(*first.key, first.label, *second.key, second.label) < 0;
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
    makeKey(items_.back());
    const auto after = [this](std::uint32_t added, std::uint32_t shown) {
        return sortsBefore(added, shown);
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
        for (auto number = first; number < items_.size(); ++number) {
            makeKey(items_[number]);
        }
        const auto less = [this](std::uint32_t a, std::uint32_t b) { return sortsBefore(a, b); };
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
        return sortsBefore(added, settled);
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

bool ListView::deleteitem(long index)
{
    if (index < 1 || index > totalitems()) {
        return false;
    }
    settle();
    const auto at = order_.begin() + (index - 1);
    const std::uint32_t number = *at;
    order_.erase(at);
    // The items after it take the numbers one lower.
    for (std::uint32_t& later : order_) {
        later -= later > number ? 1 : 0;
    }
    shownCount_ -= items_[number].shown ? 1 : 0;
    items_.erase(items_.begin() + number);
    if (marked_ && *marked_ == number) {
        marked_.reset();
    } else if (marked_ && *marked_ > number) {
        --*marked_;
    }
    if (number < published_) {
        model_->removeItem(number);
        --published_;
    }
    update_.request();
    return true;
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
        for (Item& item : items_) {
            makeKey(item);
        }
        std::stable_sort(order_.begin(), order_.end(),
                         [this](std::uint32_t a, std::uint32_t b) { return sortsBefore(a, b); });
        update_.request();
    }
}

void ListView::setSingleColumn(bool single)
{
    singleColumn_ = single;
    applyView();
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
    if (view_ == View::List && singleColumn_) {
        // One column: each row takes the list's width, however narrow; a longer label is
        // shortened within it instead of widening the list past its edge.
        return {kSmallPicture + kTextGap + margins,
                std::max(kSmallPicture, metrics.height()) + kTextGap};
    }
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
        if (!item.key) {
            item.text = QString::fromStdString(item.label);
        }
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
        view_widget_->setWrapping(!singleColumn_);
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
    labelsDelegate_->setTwoLines(large);
}

} // namespace host
