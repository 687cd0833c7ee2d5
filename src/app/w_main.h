// The main window: a multiple-document frame titled "Varnelook1.0" with the status line, the
// browse sheet inside its client area, opened maximized.
#pragma once

#include "host/toolkit/frame.h"

class w_main : public host::Frame {
public:
    w_main();
    ~w_main() override;

protected:
    void onOpen() override;
};
