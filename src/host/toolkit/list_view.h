// List view control: items with a label and a picture number, shown as large icons, small
// icons, a list or a report; clicks and double-clicks by mouse, and Return on the current item,
// report the item's 1-based number. A growing list reaches the screen at most once per frame
// while an event runs, in place: the selection and the current item stay on their items. A
// filter may show only some of the items; items may have tooltips and be dragged out as files.
#pragma once

#include "host/toolkit/control.h"
#include "host/toolkit/deferred_update.h"
#include "host/win32/types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QFontMetrics;
class QSize;
class QString;

namespace host {

class ListViewModel;
class ListViewWidget;

class ListView : public Control {
public:
    // The list view's own view values.
    enum class View { LargeIcon = 0, Report = 1, SmallIcon = 2, List = 3 };
    enum class Sort { Unsorted, Ascending };

    // On a window of the program's; the bare widget is for the host and its tests.
    explicit ListView(Window& parent);
    explicit ListView(QWidget* parent);
    ~ListView() override;

    // Adds an item and returns its 1-based number (its place in the sorted order when sorted).
    long additem(const std::string& label, int pictureIndex);
    // Adds items in one go, as additem would one by one, without their numbers.
    void additems(std::vector<std::string> labels, int pictureIndex);
    // The label of item `index` (1-based), none when there is no such item.
    [[nodiscard]] std::optional<std::string> getitem(long index) const;
    void deleteitems();
    // Deletes item `index` (1-based); the items after it move up one number. The selection, the
    // current item and the marked item stay on their items when they are others. False when
    // there is no such item.
    bool deleteitem(long index);
    [[nodiscard]] long totalitems() const;
    // Shows only the items whose labels `shows` accepts, all of them when it is empty. Item
    // numbers (getitem, events) stay those of the whole list; the current item stays current
    // while it is shown.
    void setFilter(std::function<bool(const std::string&)> shows);
    // The number of items the filter lets show (all items without a filter).
    [[nodiscard]] long shownitems() const { return shownCount_; }
    // Shows item `index` (1-based) marked apart from the others, 0 for none: the item the
    // window's other contents belong to.
    void setMarkedItem(long index);

    void setView(View view);
    [[nodiscard]] View view() const { return view_; }
    void setSorting(Sort sort);
    // In list mode, whether the items stand in one column that scrolls vertically, as in a list
    // box, labels too long for it shortened in the middle; otherwise list mode fills columns
    // side by side and scrolls horizontally. Off by default.
    void setSingleColumn(bool single);
    void setBorder(bool border);

    // Picture lists; each picture's `transparent` colour is shown clear.
    void addLargePicture(const std::string& name, long transparent);
    void addSmallPicture(const std::string& name, long transparent);

    void onClicked(std::function<void(long)> handler);
    void onDoubleClicked(std::function<void(long)> handler);
    // Return or keypad Enter on the current item.
    void onReturnPressed(std::function<void(long)> handler);
    // A right-click on an item, or the menu key on the current one: the item and the global
    // point where its menu shows. Beside the items, or the menu key with no current item, the
    // item is 0.
    void onContextMenu(std::function<void(long, win32::POINT)> handler);
    // The tooltip of item `index`, asked for when the pointer rests on it (the label when unset).
    void onToolTip(std::function<std::string(long)> handler);
    // Lets items be dragged out of the list: the handler answers the local file a drag of item
    // `index` carries, or an empty text for none. Without a handler nothing can be dragged.
    void onDragOut(std::function<std::string(long)> handler);
    // Marks item `index` (1-based) as the current one and raises the clicked event for it, as a
    // click on it by mouse does.
    void clickItem(long index);

    // The Qt view, for tests that click and read what a user sees.
    [[nodiscard]] ListViewWidget* listWidget() const { return view_widget_; }

protected:
    void fontChanged() override { applyView(); }

private:
    // An item: its label, picture and what the screen made of it (list_view.cpp).
    struct Item;
    // The font the labels were last measured in, and its characters' advances.
    struct Measuring;
    class LabelsDelegate;

    void publish();
    // The order of the items the filter lets show.
    [[nodiscard]] std::vector<std::uint32_t> shownOrder() const;
    void addToCount(const Item& item);
    void applyView();
    void applyDragging();
    [[nodiscard]] QSize rowSize() const;
    int labelWidth(const QString& label, const QFontMetrics& metrics);
    // Gives the item its sort key, once.
    static void makeKey(Item& item);
    // Whether item `a` (by number in the order added) sorts before item `b`; both have keys.
    [[nodiscard]] bool sortsBefore(std::uint32_t a, std::uint32_t b) const;
    // Takes the items added since the order was last needed into it.
    void settle() const;
    // The item number (1-based, in the current order) of the item the user sees at `row`
    // (1-based) of the screen, which may lag behind the items; 0 or less passes through.
    [[nodiscard]] long itemAtRow(long row) const;
    // The item number (1-based, in the current order) of item `number` in the order added.
    [[nodiscard]] long indexOf(std::uint32_t number) const;
    void connectEvent(void (ListViewWidget::*signal)(long), std::function<void(long)>& handler);

    ListViewWidget* view_widget_;
    LabelsDelegate* labelsDelegate_ = nullptr; // Qt parent: the view
    std::unique_ptr<ListViewModel> model_;
    // Items in the order they were added, and the order in which the list shows them: sorted
    // inserts move 4-byte numbers, not items. A sorted list keeps the items added since its
    // order was last needed apart, sorted, and merges them in at once: inserting each into the
    // whole order would cost a copy of the order per item.
    std::vector<Item> items_;
    mutable std::vector<std::uint32_t> order_;
    mutable std::vector<std::uint32_t> unsettled_;
    std::size_t published_ = 0; // items the screen has been given
    std::function<bool(const std::string&)> filter_;
    long shownCount_ = 0;
    bool refilter_ = false; // the filter changed: the screen's rows are chosen again
    std::optional<std::uint32_t> marked_;
    // Picture names and their transparent colours, in the order added.
    std::vector<std::pair<std::string, long>> largePictures_;
    std::vector<std::pair<std::string, long>> smallPictures_;
    View view_ = View::List;
    Sort sort_ = Sort::Unsorted;
    bool singleColumn_ = false;
    int widestLabel_ = 0;
    std::unique_ptr<Measuring> measuring_;
    std::function<void(long)> clicked_;
    std::function<void(long)> doubleClicked_;
    std::function<void(long)> returnPressed_;
    std::function<void(long, win32::POINT)> contextMenu_;
    std::function<std::string(long)> toolTip_;
    std::function<std::string(long)> dragOut_;
    DeferredUpdate update_;
};

} // namespace host
