// Unpacking a member into the current directory and opening it with its application.
#include "browse/karvex_entries.h"
#include "browse/w_brow.h"
#include "host/toolkit/message_box.h"
#include "host/win32/shell.h"

using namespace host;
using namespace browse;

void w_brow::lv_fileico_doubleclicked(long index)
{
    if (index < 1) {
        return;
    }
    // Bound before anything changes: a missing library ends the event with everything as it was.
    const GetFileFromZipFile2Entry GetFileFromZipFile2 = bindGetFileFromZipFile2();
    const std::optional<std::string> label = lv_fileico->getitem(index);
    if (!label) {
        return;
    }

    deleteOpenedFile();
    const std::string& ls_filename = *label;
    const std::string ls_filepathname = GetCurrentDirectory() + DirectorySeparator() + *label;

    // The library may write into what it is given; it gets copies.
    std::string zip = is_zipfilepathname;
    std::string member = ls_filename;
    std::string save = ls_filepathname;
    const std::int32_t extracted = GetFileFromZipFile2(zip.data(), member.data(), save.data());
    const std::optional<FileIdentity> written = FileIdentityOf(ls_filepathname);
    if (extracted < 0 || !written) {
        // Nothing was written, so nothing is opened and nothing of this name is ours to delete.
        MessageBox("信息提示!错误代码为" + String(extracted), "无法从文件库中取出该文件。");
        return;
    }
    is_openfilename = ls_filepathname;
    openedFileIdentity_ = written;

    const long ll_runreturn = of_executefile(*label, "", GetCurrentDirectory());
    if (ll_runreturn <= 32) {
        MessageBox("信息提示!错误代码为" + String(ll_runreturn),
                   "没有跟这类文件关联的软件,请安装相关软件。");
    }
}

std::int16_t w_brow::of_executefile(const std::string& as_filename, const std::string& as_parameter,
                                    const std::string& as_workdirectory)
{
    // No window of the program is passed as the owner.
    const win32::HINSTANCE result =
        win32::ShellExecuteA(0, "open", as_filename.c_str(), as_parameter.c_str(),
                             as_workdirectory.c_str(), win32::SW_SHOWNORMAL);
    return static_cast<std::int16_t>(result);
}

void w_brow::deleteOpenedFile()
{
    if (is_openfilename.empty()) {
        return;
    }
    // A file that has taken the name since (the user's own) is not the one to delete.
    if (FileIdentityOf(is_openfilename) == openedFileIdentity_) {
        FileDelete(is_openfilename);
    }
    is_openfilename.clear();
    openedFileIdentity_.reset();
}

void w_brow::onClose()
{
    endListing();
    deleteOpenedFile();
}
