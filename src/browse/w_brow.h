// The browse sheet: the catalogue of the current directory's archives on the left, the members
// of the archive last clicked on the right. A double-click unpacks a member into the current
// directory and opens it with the desktop's application for its type; the sheet keeps at most
// one unpacked file and removes it at the next unpack and when it closes.
#pragma once

#include "browse/member_details.h"
#include "browse/member_unpack.h"
#include "host/toolkit/builtins.h"
#include "host/toolkit/folder_watch.h"
#include "host/toolkit/group_box.h"
#include "host/toolkit/list_box.h"
#include "host/toolkit/list_view.h"
#include "host/toolkit/picture_hyperlink.h"
#include "host/toolkit/radio_button.h"
#include "host/toolkit/sheet.h"
#include "host/toolkit/single_line_edit.h"
#include "host/toolkit/static_text.h"
#include "host/toolkit/user_folders.h"
#include "host/toolkit/worker.h"
#include "host/win32/types.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace browse {
class ArrivingMembers;
struct MemberListOutcome;
struct UnpackResult;
} // namespace browse

class w_brow : public host::Sheet {
public:
    w_brow();
    ~w_brow() override;

    // The sheet's controls: the logo link and the two brand texts at the top, the two groups with
    // the catalogue, the view buttons and the member list, and the hidden list box that reads the
    // folder's archives.
    std::unique_ptr<host::PictureHyperlink> phl_1;
    std::unique_ptr<host::StaticText> st_1;
    std::unique_ptr<host::StaticText> st_2;
    std::unique_ptr<host::GroupBox> gb_2;
    std::unique_ptr<host::ListView> lv_zip;
    std::unique_ptr<host::GroupBox> gb_1;
    std::unique_ptr<host::RadioButton> rb_1;
    std::unique_ptr<host::RadioButton> rb_2;
    std::unique_ptr<host::RadioButton> rb_3;
    std::unique_ptr<host::RadioButton> rb_4;
    // The filter field, in the place of the hidden fourth view button: the member list shows
    // only the members whose names contain its text.
    std::unique_ptr<host::SingleLineEdit> sle_find;
    std::unique_ptr<host::ListView> lv_fileico;
    std::unique_ptr<host::ListBox> lb_zip;

    // Full path of the archive whose members lv_fileico shows.
    [[nodiscard]] const std::string& zipFilePathName() const { return is_zipfilepathname; }
    // Full path of the member file this sheet last unpacked, empty when it holds none.
    [[nodiscard]] const std::string& openFileName() const { return is_openfilename; }
    // Whether a double-clicked member is still being unpacked.
    [[nodiscard]] bool unpacking() const;

    // Lists the archives of `folder` as if the viewer had been started there (w_brow_folders.cpp):
    // the file the sheet unpacked and its drag copies go first, and a running listing, unpack or
    // copy stops, as at the sheet's close; the member list, title and status line start over.
    // With `archive` (a name in that folder) that archive is then listed and marked, as a click
    // on it does. When the folder cannot be entered, the user is told and nothing changes.
    void openFolder(const std::string& folder, const std::string& archive = {});
    // Lists the catalogue's archive `name` and marks it, as a click on it does; false when the
    // catalogue does not show it.
    bool listArchive(const std::string& name);
    // Removes the drag copies a viewer that was killed left in the private cache; those of
    // viewers still running stay. For the start of a run (w_brow_dragging.cpp).
    static void removeAbandonedDragCopies();

    // The shell's result for opening `as_filename` in `as_workdirectory`.
    std::int16_t of_executefile(const std::string& as_filename, const std::string& as_parameter,
                                const std::string& as_workdirectory);

protected:
    void onOpen() override;
    void onClose() override;
    void onResize(int sizetype, int newwidth, int newheight) override;
    // F5: the catalogue is read again.
    void onRefresh() override;

private:
    // The frame the sheet is open in; outside a frame the event that needs it ends here.
    [[nodiscard]] host::Frame& frame() const;
    // Shows `text` in the status line of the frame the sheet is open in, if any.
    void showStatus(const std::string& text) const;
    void createControls();
    // Builds the catalogue of the current directory's archives, or brings it up to date: the
    // archives gone go, new ones come in their places, the others stay as they are (selected,
    // marked). The catalogue then follows that folder: a change in it reads it again. The status
    // line says when the folder cannot be read or holds no archive (w_brow_listing.cpp).
    void readCatalogue();
    // Brings lv_zip to the entries of lb_zip; false when nothing changed.
    bool of_addzipfile();
    // Says in the status line when the folder could not be read or holds no archive, and how to
    // open another; takes back such a word that is no longer true.
    void showCatalogueStatus(bool folderRead);
    // Asks for a folder and opens it: the catalogue's 打开文件夹....
    void chooseFolder();
    // What leaving the folder takes, at the sheet's close or when another folder is opened:
    // the listing, unpack or copy under way stops, the unpacked file and the drag copies go.
    void leaveFolder();
    void lv_zip_clicked(long index);
    // Adds the members read so far to the list, and ends a listing with its outcome.
    void showArrivedMembers();
    void finishListing(const std::string& label, const browse::MemberListOutcome& outcome);
    // Stops a running listing and clears its status, as the sheet closes.
    void endListing();
    // The status line of a finished listing: the total, what was left out, and how many members
    // the filter shows while it has a text (w_brow_finding.cpp).
    void showListingStatus();
    // Shows only the members whose names contain `text`, every member when it is empty.
    void filterMembers(const std::string& text);
    void lv_fileico_doubleclicked(long index);
    // Unpacks the member `label` of the listed archive and opens it, as a double-click does.
    void openMember(const std::string& label);
    // Saves a copy of the member `label` where the user chooses in the save dialog.
    void saveMemberAs(const std::string& label);
    void saveFinished(const std::string& path, std::int32_t code);
    // Writes member `label` of the listed archive to `path` on the worker thread, shown in a
    // progress window titled `title`; `finished` gets the library's code, `abandoned` gets it
    // instead when the sheet closed first (w_brow_saving.cpp).
    void startCopy(const std::string& title, const std::string& label, const std::string& path,
                   std::uint32_t flags, std::function<void(std::int32_t)> finished,
                   std::function<void(std::int32_t)> abandoned);
    // Whether a copy is being written; if so the user is told to wait (one copy at a time).
    [[nodiscard]] bool copyRunning() const;
    // The right-click menus of the catalogue and of the member list (w_brow_menus.cpp).
    void lv_zip_contextmenu(long index, win32::POINT at);
    void lv_fileico_contextmenu(long index, win32::POINT at);
    // What the listing told of the member `label`: none from an older library.
    [[nodiscard]] std::optional<browse::MemberDetails>
    memberDetails(const std::string& label) const;
    // The file a drag of member `label` carries: a copy in the private cache (w_brow_dragging.cpp);
    // empty when it could not be made.
    std::string dragMemberOut(const std::string& label);
    // A copy made for a drag, and the folder made for it, held while the copy is kept.
    struct DraggedCopy {
        browse::UnpackedFile file;
        std::shared_ptr<host::HeldCacheFolder> folder;
    };
    // Keeps a drag copy written with the library's `code`, or removes it and says why.
    bool keepDragCopy(const std::pair<std::string, std::string>& member,
                      const std::shared_ptr<host::HeldCacheFolder>& folder, const std::string& path,
                      std::int32_t code);
    // Members up to this size are copied at once when a drag starts; larger ones on the worker.
    static constexpr std::uint64_t kDragAtOnceBytes = 4ULL << 20;
    // Removes the dragged copies the drop targets have taken theirs of, as the sheet closes.
    void removeDraggedCopies();
    void setView(host::ListView::View view);
    // Says that a member could not be unpacked, with the library's code and its cause; for a
    // different file already standing at the member's `path`, names it and the way round it.
    void reportCannotExtract(std::int32_t code, const std::string& path = {}) const;
    // Removes the unpacked file, but only while it is still the file this sheet wrote.
    void deleteOpenedFile();
    // The unpack of the member `label` of archive `zip` on a worker thread, and its end.
    void startUnpack(const std::string& zip, const std::string& label);
    void unpackFinished(const std::string& label, const browse::UnpackResult& result);

    std::string is_zipfilepathname;
    std::string is_openfilename;
    // The unpack or copy under way and the file is_openfilename names (w_brow_opening.h).
    struct Opening;
    std::unique_ptr<Opening> opening_;
    struct Menus;
    std::unique_ptr<Menus> menus_;
    // The listing being read off the GUI thread; a newer click abandons it.
    host::WorkerTask listingTask_;
    // The hourglass, while a listing runs.
    std::optional<host::BusyPointerScope> listingBusy_;
    std::shared_ptr<browse::ArrivingMembers> arriving_;
    std::chrono::steady_clock::time_point arrivalsShown_;
    // The copies made for drags, by archive and member.
    std::map<std::pair<std::string, std::string>, DraggedCopy> draggedCopies_;
    // The folder the catalogue shows, watched for archives added or removed.
    host::FolderWatch catalogueWatch_;
    // How the last listing ended, while its list is shown.
    std::unique_ptr<browse::MemberListOutcome> listed_;
};
