// The catalogue of archives and the listing of one archive's members.
#include "browse/member_listing.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/runtime_error.h"

#include <chrono>
#include <set>
#include <utility>
#include <vector>

using namespace host;
using namespace browse;

namespace {

// About one frame of a 60 Hz display.
constexpr std::chrono::milliseconds kFrame(16);

// What a failed listing means to the user, in words.
std::string listingFailureText(std::int32_t code)
{
    switch (code) {
    case KARVEX_E_OPEN_ARCHIVE:
        return "无法打开该文件库: 文件已不在、不可读,或不是普通文件。";
    case KARVEX_E_NOT_AN_ARCHIVE:
        return "该文件不是可读的文件库: 它已损坏、不完整,或根本不是文件库。";
    case KARVEX_E_INTERNAL:
        return "读取文件库时内存不足或发生内部错误。";
    default:
        return "无法读取该文件库的文件清单。";
    }
}

} // namespace

Frame& w_brow::frame() const
{
    Frame* frame = parentFrame();
    if (frame == nullptr) {
        throw RuntimeError(RuntimeError::Kind::NullObject, "w_brow 不在框架窗口中");
    }
    return *frame;
}

void w_brow::readCatalogue()
{
    // The watch follows the folder the catalogue shows, whichever that is now.
    const std::string folder = GetCurrentDirectory();
    if (catalogueWatch_.folder() != folder) {
        catalogueWatch_.watch(folder, [this] { readCatalogue(); });
    }
    // The current directory's archives, ordinary and read-only.
    const bool read = lb_zip->dirlist("*.zqr", ListBox::ReadOnlyFiles);
    const bool changed = read && of_addzipfile();
    showCatalogueStatus(read);
    if (!changed) {
        return;
    }
    // The archive the member list belongs to stays marked while it is there; an archive of that
    // name that comes back is marked again.
    long marked = 0;
    for (long i = 1; i <= lv_zip->totalitems() && marked == 0; ++i) {
        if (folder + DirectorySeparator() + lv_zip->getitem(i).value_or("") == is_zipfilepathname) {
            marked = i;
        }
    }
    lv_zip->setMarkedItem(marked);
}

bool w_brow::of_addzipfile()
{
    std::set<std::string> found;
    for (long i = 1; i <= lb_zip->totalitems(); ++i) {
        found.insert(lb_zip->text(i));
    }
    std::set<std::string> kept;
    for (long i = 1; i <= lv_zip->totalitems(); ++i) {
        if (std::string label = lv_zip->getitem(i).value_or(""); found.count(label) != 0) {
            kept.insert(std::move(label));
        }
    }
    const long before = lv_zip->totalitems();
    if (kept.empty()) {
        // Another folder, or every archive gone: a new list.
        lv_zip->deleteitems();
    } else {
        // From the end, so the numbers of the items still to look at stay as they are.
        for (long i = before; i >= 1; --i) {
            if (kept.count(lv_zip->getitem(i).value_or("")) == 0) {
                lv_zip->deleteitem(i);
            }
        }
    }
    std::vector<std::string> added;
    for (const std::string& name : found) {
        if (kept.count(name) == 0) {
            added.push_back(name);
        }
    }
    const bool changed = !added.empty() || lv_zip->totalitems() != before;
    lv_zip->additems(std::move(added), 1);
    return changed;
}

void w_brow::lv_zip_clicked(long index)
{
    if (index < 1) {
        return;
    }
    // Bound before anything changes: a missing library ends the event with everything as it was.
    const ListingEntries entries = bindListingEntries();
    (void)frame(); // the status line is the frame's: a sheet outside a frame ends the event here
    const std::optional<std::string> label = lv_zip->getitem(index);
    if (!label) {
        return;
    }

    is_zipfilepathname = GetCurrentDirectory() + DirectorySeparator() + *label;
    listed_.reset();
    // The catalogue keeps showing which archive the member list belongs to.
    lv_zip->setMarkedItem(index);
    lv_fileico->deleteitems();
    if (!listingBusy_) {
        listingBusy_.emplace();
    }

    // The library reads the list on a worker thread; the members show as they arrive. Starting
    // abandons a listing still running: the newer click wins, and nothing of the older one
    // reaches the list, the status line, the pointer or the title.
    arriving_ = std::make_shared<ArrivingMembers>();
    listingTask_.start<MemberListOutcome>(
        [entries, zip = is_zipfilepathname, arriving = arriving_](WorkerProgress& progress) {
            // Handed over in small batches: a lock and a report per member would cost the
            // reading thread more than the library's own work.
            constexpr std::size_t kBatch = 256;
            std::vector<ListedMember> batch;
            std::uint64_t count = 0;
            const auto handOver = [&] {
                count += batch.size();
                arriving->push(std::exchange(batch, {}));
                progress.report(count, 0);
            };
            const MemberListOutcome outcome =
                readMemberList(entries, zip, [&](ListedMember member) {
                    batch.push_back(std::move(member));
                    if (batch.size() == kBatch) {
                        handOver();
                    }
                    return !progress.cancelled();
                });
            handOver();
            return outcome;
        },
        [this](std::uint64_t /*done*/, std::uint64_t /*total*/) {
            // At most once a frame: each batch costs a pass over the whole list on screen, so
            // many small ones would cost more than the reading itself.
            const auto now = std::chrono::steady_clock::now();
            if (now - arrivalsShown_ >= kFrame) {
                arrivalsShown_ = now;
                showArrivedMembers();
            }
        },
        [this, label = *label](const MemberListOutcome& outcome) {
            showArrivedMembers();
            finishListing(label, outcome);
        });
}

void w_brow::showArrivedMembers()
{
    std::vector<std::string> names = arriving_->take();
    if (names.empty()) {
        return;
    }
    lv_fileico->additems(std::move(names), 1);
    frame().setmicrohelp("正在读取文件: " + String(lv_fileico->totalitems()));
}

void w_brow::finishListing(const std::string& label, const MemberListOutcome& outcome)
{
    Frame& statusFrame = frame();
    listingBusy_.reset();
    setTitle("在浏览<" + label + ">");
    if (outcome.result < 0) {
        // A damaged archive is not an empty one: say so, and list nothing.
        lv_fileico->deleteitems();
        statusFrame.setmicrohelp("无法读取文件清单,错误代码为" + String(outcome.result));
        MessageBox("信息提示!错误代码为" + String(outcome.result),
                   listingFailureText(outcome.result) + "(错误代码 " + String(outcome.result) +
                       ")");
        return;
    }
    listed_ = std::make_unique<MemberListOutcome>(outcome);
    showListingStatus();
}

void w_brow::endListing()
{
    // A listing still running ends here; its status goes with the sheet.
    listingBusy_.reset();
    listingTask_.abandon();
    listed_.reset();
    if (Frame* frame = parentFrame()) {
        frame->setmicrohelp("");
    }
}
