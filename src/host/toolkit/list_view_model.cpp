#include "host/toolkit/list_view_model.h"

#include "host/toolkit/dropped_paths_internal.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <iterator>
#include <utility>

namespace host {

void ListViewModel::clear()
{
    beginResetModel();
    items_.clear();
    shown_.clear();
    marked_.reset();
    endResetModel();
}

void ListViewModel::publish(std::vector<ListViewRow> added, const std::vector<std::uint32_t>& order)
{
    const auto firstAdded = static_cast<std::uint32_t>(items_.size());
    items_.insert(items_.end(), std::make_move_iterator(added.begin()),
                  std::make_move_iterator(added.end()));
    if (order.size() > shown_.size()) {
        const auto first = static_cast<int>(shown_.size());
        const auto last = static_cast<int>(order.size()) - 1;
        // Most lists grow at their end; then the new rows go straight to their places.
        const bool atTheEnd = std::equal(shown_.begin(), shown_.end(), order.begin());
        beginInsertRows(QModelIndex(), first, last);
        if (atTheEnd) {
            shown_.insert(shown_.end(), order.begin() + first, order.end());
        } else {
            // The added items that are shown take the new rows, then all move to their places.
            for (const std::uint32_t number : order) {
                if (number >= firstAdded) {
                    shown_.push_back(number);
                }
            }
        }
        endInsertRows();
    }
    showInOrder(order);
}

void ListViewModel::reshow(std::vector<ListViewRow> added, const std::vector<std::uint32_t>& order)
{
    beginResetModel();
    items_.insert(items_.end(), std::make_move_iterator(added.begin()),
                  std::make_move_iterator(added.end()));
    shown_ = order;
    endResetModel();
}

void ListViewModel::showInOrder(const std::vector<std::uint32_t>& order)
{
    if (order == shown_) {
        return;
    }
    // The same rows in another order: the view's selection and current item move with their
    // items.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    if (!before.isEmpty()) {
        std::vector<int> newRow(items_.size(), -1);
        for (std::size_t row = 0; row < order.size(); ++row) {
            newRow[order[row]] = static_cast<int>(row);
        }
        for (const QModelIndex& old : before) {
            const int row = newRow[shown_[static_cast<std::size_t>(old.row())]];
            after.push_back(row < 0 ? QModelIndex() : index(row));
        }
    }
    shown_ = order;
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ListViewModel::removeItem(std::uint32_t number)
{
    const int row = rowOf(number);
    if (row >= 0) {
        beginRemoveRows(QModelIndex(), row, row);
        shown_.erase(shown_.begin() + row);
    }
    // Renumbered before the view hears of the removal, so every row it asks for is sound.
    items_.erase(items_.begin() + number);
    for (std::uint32_t& later : shown_) {
        later -= later > number ? 1 : 0;
    }
    if (marked_ && *marked_ == number) {
        marked_.reset();
    } else if (marked_ && *marked_ > number) {
        --*marked_;
    }
    if (row >= 0) {
        endRemoveRows();
    }
}

void ListViewModel::setRowSize(QSize rowSize)
{
    if (rowSize == rowSize_) {
        return;
    }
    // Every row changes size: the view lays the rows out again and keeps its selection.
    emit layoutAboutToBeChanged();
    rowSize_ = rowSize;
    emit layoutChanged();
}

void ListViewModel::setPictures(std::vector<QPixmap> pictures)
{
    pictures_ = std::move(pictures);
    if (!shown_.empty()) {
        emit dataChanged(index(0), index(static_cast<int>(shown_.size()) - 1),
                         {Qt::DecorationRole});
    }
}

void ListViewModel::setMarkedItem(std::optional<std::uint32_t> number,
                                  const QBrush& markedBackground)
{
    const std::optional<std::uint32_t> previous = marked_;
    marked_ = number;
    markedBackground_ = markedBackground;
    for (const auto& changed : {previous, marked_}) {
        if (changed) {
            const int row = rowOf(*changed);
            if (row >= 0) {
                emit dataChanged(index(row), index(row), {Qt::BackgroundRole});
            }
        }
    }
}

void ListViewModel::setToolTips(std::function<QString(std::uint32_t)> toolTip)
{
    toolTip_ = std::move(toolTip);
}

void ListViewModel::setDragFiles(std::function<QString(std::uint32_t)> dragFile)
{
    dragFile_ = std::move(dragFile);
}

Qt::ItemFlags ListViewModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractListModel::flags(index);
    if (dragFile_ && index.isValid()) {
        flags |= Qt::ItemIsDragEnabled;
    }
    return flags;
}

QStringList ListViewModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData* ListViewModel::mimeData(const QModelIndexList& indexes) const
{
    // One item is dragged at a time (the list selects one): the first one's file.
    const std::optional<std::uint32_t> number =
        numberAt(indexes.isEmpty() ? -1 : indexes.front().row());
    if (!dragFile_ || !number) {
        return nullptr;
    }
    const QString file = dragFile_(*number);
    if (file.isEmpty()) {
        return nullptr;
    }
    auto* data = new QMimeData(); // NOLINT(cppcoreguidelines-owning-memory): the drag takes it
    data->setUrls({QUrl::fromLocalFile(file)});
    data->setData(QString::fromLatin1(kOwnDragFormat), QByteArrayLiteral("1"));
    return data;
}

Qt::DropActions ListViewModel::supportedDragActions() const
{
    return Qt::CopyAction;
}

std::optional<std::uint32_t> ListViewModel::numberAt(int row) const
{
    if (row < 0 || row >= static_cast<int>(shown_.size())) {
        return std::nullopt;
    }
    return shown_[static_cast<std::size_t>(row)];
}

int ListViewModel::rowOf(std::uint32_t number) const
{
    const auto at = std::find(shown_.begin(), shown_.end(), number);
    return at == shown_.end() ? -1 : static_cast<int>(at - shown_.begin());
}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    const std::optional<std::uint32_t> number = numberAt(index.isValid() ? index.row() : -1);
    if (!number) {
        return {};
    }
    const ListViewRow& row = items_[*number];
    switch (role) {
    case Qt::DisplayRole:
        return row.label;
    case Qt::ToolTipRole:
        return toolTip_ ? toolTip_(*number) : row.label;
    case Qt::DecorationRole:
        if (row.picture >= 1 && row.picture <= static_cast<int>(pictures_.size())) {
            return pictures_[static_cast<std::size_t>(row.picture - 1)];
        }
        return {};
    case Qt::BackgroundRole:
        return marked_ == number ? QVariant(markedBackground_) : QVariant();
    case Qt::SizeHintRole:
        // One size for every row lets the view lay out thousands of rows without asking each.
        return rowSize_.isValid() ? QVariant(rowSize_) : QVariant();
    default:
        return {};
    }
}

} // namespace host
