// The rows a list view shows: every item published so far (label and picture number, kept by
// the item's number in the order added) and the order in which they are shown. Publishing
// changes the rows in place, inserting new rows and moving old ones, so the view's selection
// and current item stay on the items they were on; only clear() resets the model.
#pragma once

#include <QAbstractListModel>
#include <QBrush>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace host {

struct ListViewRow {
    QString label;
    int picture = 0; // 1-based number in the picture list, 0 for none
};

class ListViewModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // Forgets every row: the only reset of the model.
    void clear();
    // Adds the items that follow the ones published already (they take the next numbers) and
    // shows the items in `order`: every item shown before and any of the added ones.
    void publish(std::vector<ListViewRow> added, const std::vector<std::uint32_t>& order);
    // As publish, for an order that may leave out rows shown before: the rows are chosen again
    // (a reset of the rows shown, the items kept).
    void reshow(std::vector<ListViewRow> added, const std::vector<std::uint32_t>& order);
    // Forgets item `number` and its row, if shown; the items after it take the numbers one
    // lower. The view's selection and current item stay on the other rows.
    void removeItem(std::uint32_t number);
    // The one size every row takes in the current view.
    void setRowSize(QSize rowSize);
    void setPictures(std::vector<QPixmap> pictures);
    // The item shown on `markedBackground`, none when nullopt.
    void setMarkedItem(std::optional<std::uint32_t> number, const QBrush& markedBackground);

    // The number of the item shown in `row` (0-based), none when there is no such row.
    [[nodiscard]] std::optional<std::uint32_t> numberAt(int row) const;
    // The tooltip of item `number` (in the order added); the label when unset.
    void setToolTips(std::function<QString(std::uint32_t)> toolTip);
    // The local file a drag of item `number` carries (empty for none); nullptr: no drags.
    void setDragFiles(std::function<QString(std::uint32_t)> dragFile);
    // The row (0-based) that shows item `number`, -1 when none does.
    [[nodiscard]] int rowOf(std::uint32_t number) const;

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;
    [[nodiscard]] QStringList mimeTypes() const override;
    [[nodiscard]] QMimeData* mimeData(const QModelIndexList& indexes) const override;
    [[nodiscard]] Qt::DropActions supportedDragActions() const override;

private:
    void showInOrder(const std::vector<std::uint32_t>& order);

    std::vector<ListViewRow> items_;   // by item number
    std::vector<std::uint32_t> shown_; // item numbers, row by row
    std::vector<QPixmap> pictures_;
    QSize rowSize_;
    std::optional<std::uint32_t> marked_;
    QBrush markedBackground_;
    std::function<QString(std::uint32_t)> toolTip_;
    std::function<QString(std::uint32_t)> dragFile_;
};

} // namespace host
