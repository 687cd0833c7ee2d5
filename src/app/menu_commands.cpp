#include "app/menu_commands.h"

#include "about/w_about.h"
#include "browse/w_brow.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/runtime_error.h"
#include "host/toolkit/window_functions.h"

namespace app {

namespace {

host::Frame& parentFrame(const host::MenuItem& item)
{
    auto* frame = dynamic_cast<host::Frame*>(item.parentwindow());
    if (frame == nullptr) {
        throw host::RuntimeError(host::RuntimeError::Kind::NullObject,
                                 "Null object reference: parentwindow of " + item.className());
    }
    return *frame;
}

} // namespace

void OpenFileItem::clicked()
{
    parentFrame(*this).opensheet<w_brow>(kSheetMenuPosition);
}

void CloseFileItem::clicked()
{
    if (host::Sheet* sheet = parentFrame(*this).getactivesheet()) {
        host::close(*sheet);
    }
}

void QuitItem::clicked()
{
    host::close(parentFrame(*this));
}

void HelpItem::clicked()
{
    host::MessageBox(kHelpTitle, kHelpText, host::Icon::Information);
}

void AboutItem::clicked()
{
    w_about::openWithParent(&parentFrame(*this));
}

} // namespace app
