// List view control: items with a label and a picture number, shown as large icons, small
// icons, a list or a report; clicks and double-clicks by mouse report the item's 1-based
// number. A growing list reaches the screen at most once per frame while an event runs.
#pragma once

#include "host/toolkit/control.h"
#include "host/toolkit/deferred_update.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace host {

class ListViewModel;
class ListViewWidget;

class ListView : public Control {
public:
    // The list view's own view values.
    enum class View { LargeIcon = 0, Report = 1, SmallIcon = 2, List = 3 };
    enum class Sort { Unsorted, Ascending };

    explicit ListView(QWidget* parent);
    ~ListView() override;

    // Adds an item and returns its 1-based number (its place in the sorted order when sorted).
    long additem(const std::string& label, int pictureIndex);
    // The label of item `index` (1-based), none when there is no such item.
    [[nodiscard]] std::optional<std::string> getitem(long index) const;
    void deleteitems();
    [[nodiscard]] long totalitems() const;

    void setView(View view);
    [[nodiscard]] View view() const { return view_; }
    void setSorting(Sort sort);
    void setBorder(bool border);

    // Picture lists; each picture's `transparent` colour is shown clear.
    void addLargePicture(const std::string& name, long transparent);
    void addSmallPicture(const std::string& name, long transparent);

    void onClicked(std::function<void(long)> handler);
    void onDoubleClicked(std::function<void(long)> handler);
    // Marks item `index` (1-based) as the current one and raises the clicked event for it, as a
    // click on it by mouse does.
    void clickItem(long index);

    // The Qt view, for tests that click and read what a user sees.
    [[nodiscard]] ListViewWidget* listWidget() const { return view_widget_; }

protected:
    void fontChanged() override { applyView(); }

private:
    struct Item {
        std::string label;
        QString text; // the label for the screen, made when first published
        int picture = 0;
        int width = -1; // label width in pixels, measured when first published
    };

    void publish();
    void applyView();
    [[nodiscard]] QSize rowSize() const;
    int labelWidth(const QString& label, const QFontMetrics& metrics);

    ListViewWidget* view_widget_;
    std::unique_ptr<ListViewModel> model_;
    // Items in the order they were added, and the order in which the list shows them: sorted
    // inserts move 4-byte numbers, not items.
    std::vector<Item> items_;
    std::vector<std::uint32_t> order_;
    // Picture names and their transparent colours, in the order added.
    std::vector<std::pair<std::string, long>> largePictures_;
    std::vector<std::pair<std::string, long>> smallPictures_;
    View view_ = View::List;
    Sort sort_ = Sort::Unsorted;
    int widestLabel_ = 0;
    QFont measuredFont_;
    // Advance of each character in the list's font, so labels are measured without shaping.
    QHash<char32_t, int> advances_;
    std::function<void(long)> clicked_;
    std::function<void(long)> doubleClicked_;
    DeferredUpdate update_;
};

} // namespace host
