#include "app/w_main.h"

#include "browse/w_brow.h"
#include "host/toolkit/colors.h"

namespace {

// The frame lists its open sheets under the second title of its menu bar.
constexpr int kSheetMenuPosition = 2;

} // namespace

w_main::w_main()
{
    setTitle("Varnelook1.0");
    setIcon("AppIcon!");
    setDesignSize(2533, 1408);
    setOpenMaximized(true);
    setClientBackColor(host::RGB(0, 128, 128));
}

w_main::~w_main() = default;

void w_main::onOpen()
{
    opensheet<w_brow>(kSheetMenuPosition);
}
