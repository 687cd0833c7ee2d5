#include "host/toolkit/list_view_model.h"

#include <utility>

namespace host {

void ListViewModel::setRows(std::vector<ListViewRow> rows, QSize rowSize)
{
    beginResetModel();
    rows_ = std::move(rows);
    rowSize_ = rowSize;
    endResetModel();
}

void ListViewModel::setPictures(std::vector<QPixmap> pictures)
{
    pictures_ = std::move(pictures);
    if (!rows_.empty()) {
        emit dataChanged(index(0), index(static_cast<int>(rows_.size()) - 1), {Qt::DecorationRole});
    }
}

int ListViewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
        return {};
    }
    const ListViewRow& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.label;
    case Qt::DecorationRole:
        if (row.picture >= 1 && row.picture <= static_cast<int>(pictures_.size())) {
            return pictures_[static_cast<std::size_t>(row.picture - 1)];
        }
        return {};
    case Qt::SizeHintRole:
        // One size for every row lets the view lay out thousands of rows without asking each.
        return rowSize_.isValid() ? QVariant(rowSize_) : QVariant();
    default:
        return {};
    }
}

} // namespace host
