#include "host/toolkit/list_view.h"

#include "host/toolkit/event_boundary.h"
#include "host/toolkit/list_view_model.h"
#include "host/toolkit/list_view_widget.h"
#include "host/toolkit/natural_order.h"
#include "host/toolkit/pictures.h"

#include <QFontMetrics>
#include <algorithm>

namespace host {

namespace {

constexpr int kLargePicture = 32;
constexpr int kSmallPicture = 16;
constexpr int kLargeCellWidth = 96;
constexpr int kTextGap = 4;
constexpr int kRowPadding = 8;

} // namespace

ListView::ListView(QWidget* parent)
    : Control(new ListViewWidget(parent)), // NOLINT(cppcoreguidelines-owning-memory): Qt parent
      view_widget_(static_cast<ListViewWidget*>(widget())),
      model_(std::make_unique<ListViewModel>()), update_([this] { publish(); })
{
    view_widget_->setModel(model_.get());
    view_widget_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_widget_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_widget_->setUniformItemSizes(true);
    view_widget_->setResizeMode(QListView::Adjust);
    view_widget_->setMovement(QListView::Static);
    QObject::connect(view_widget_, &ListViewWidget::clickedAt, context(), [this](long index) {
        if (clicked_) {
            raiseEvent([this, index] { clicked_(index); });
        }
    });
    QObject::connect(view_widget_, &ListViewWidget::doubleClickedAt, context(), [this](long index) {
        if (doubleClicked_) {
            raiseEvent([this, index] { doubleClicked_(index); });
        }
    });
    applyView();
}

void ListView::clickItem(long index)
{
    update_.flush();
    const QModelIndex row = model_->index(static_cast<int>(index - 1), 0);
    if (row.isValid()) {
        view_widget_->setCurrentIndex(row);
        view_widget_->scrollTo(row);
    }
    if (clicked_) {
        raiseEvent([this, index] { clicked_(index); });
    }
}

ListView::~ListView()
{
    // The view goes with its window; it must not keep a model that dies here.
    if (widget() != nullptr) {
        view_widget_->setModel(nullptr);
    }
}

long ListView::additem(const std::string& label, int pictureIndex)
{
    const auto number = static_cast<std::uint32_t>(items_.size());
    items_.push_back(Item{label, {}, pictureIndex});
    auto at = order_.end();
    if (sort_ == Sort::Ascending) {
        at = std::upper_bound(order_.begin(), order_.end(), number,
                              [this](std::uint32_t added, std::uint32_t shown) {
                                  return naturalLess(items_[added].label, items_[shown].label);
                              });
    }
    const auto position = at - order_.begin();
    order_.insert(at, number);
    update_.request();
    return static_cast<long>(position) + 1;
}

std::optional<std::string> ListView::getitem(long index) const
{
    if (index < 1 || index > totalitems()) {
        return std::nullopt;
    }
    return items_[order_[static_cast<std::size_t>(index - 1)]].label;
}

void ListView::deleteitems()
{
    items_.clear();
    order_.clear();
    update_.request();
}

long ListView::totalitems() const
{
    return static_cast<long>(order_.size());
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

QSize ListView::rowSize() const
{
    const QFontMetrics metrics(view_widget_->font());
    if (view_ == View::LargeIcon) {
        return {kLargeCellWidth, kLargePicture + 2 * metrics.height() + kRowPadding};
    }
    return {kSmallPicture + kTextGap + widestLabel_ + kRowPadding,
            std::max(kSmallPicture, metrics.height()) + kTextGap};
}

void ListView::publish()
{
    // Each label is measured once; a new font measures them all again.
    const QFont font = view_widget_->font();
    const bool fontChanged = font != measuredFont_;
    if (fontChanged) {
        advances_.clear();
    }
    measuredFont_ = font;
    const QFontMetrics metrics(font);
    widestLabel_ = 0;
    for (Item& item : items_) {
        if (item.width < 0) {
            item.text = QString::fromStdString(item.label);
        }
        if (item.width < 0 || fontChanged) {
            item.width = labelWidth(item.text, metrics);
        }
        widestLabel_ = std::max(widestLabel_, item.width);
    }
    std::vector<ListViewRow> rows;
    rows.reserve(order_.size());
    for (const std::uint32_t number : order_) {
        const Item& item = items_[number];
        rows.push_back(ListViewRow{item.text, item.picture});
    }
    model_->setRows(std::move(rows), rowSize());
}

int ListView::labelWidth(const QString& label, const QFontMetrics& metrics)
{
    // The sum of the characters' own advances: at least the shaped width for the labels' scripts
    // (kerning only narrows), and thousands of labels cost a table look-up per character
    // instead of a text layout each.
    int width = 0;
    for (const char32_t character : label.toUcs4()) {
        auto known = advances_.constFind(character);
        if (known == advances_.constEnd()) {
            known = advances_.insert(character,
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
    view_widget_->setGridSize(large ? rowSize() : QSize());
    view_widget_->setMovement(QListView::Static);
    publish();
}

} // namespace host
