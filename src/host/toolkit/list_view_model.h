// The rows a list view shows: labels and picture numbers, replaced as a whole when the list
// view publishes, plus the pictures and the one size every row takes in the current view.
#pragma once

#include <QAbstractListModel>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <vector>

namespace host {

struct ListViewRow {
    QString label;
    int picture = 0; // 1-based number in the picture list, 0 for none
};

class ListViewModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void setRows(std::vector<ListViewRow> rows, QSize rowSize);
    void setPictures(std::vector<QPixmap> pictures);

    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;

private:
    std::vector<ListViewRow> rows_;
    std::vector<QPixmap> pictures_;
    QSize rowSize_;
};

} // namespace host
