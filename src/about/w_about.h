// The about box: the publisher's name and links and the development date, in a modal window
// over the frame that draws itself half transparent. Clicking the date line shows a hidden
// message.
#pragma once

#include "host/toolkit/response_window.h"
#include "host/toolkit/static_hyperlink.h"
#include "host/toolkit/static_text.h"

#include <memory>

class w_about : public host::ResponseWindow {
public:
    // Opens the about box as a modal window over `parentwindow` (the frame) and returns once the
    // user has closed it; the window and its controls are gone by then.
    static void openWithParent(host::Window* parentwindow);

    explicit w_about(host::Window* parentwindow);
    ~w_about() override;

    // Controls, in creation order.
    std::unique_ptr<host::StaticHyperlink> shl_2;
    std::unique_ptr<host::StaticHyperlink> shl_1;
    std::unique_ptr<host::StaticText> st_2;
    std::unique_ptr<host::StaticText> st_1;

protected:
    void onOpen() override;

private:
    void createControls();
    void st_2_clicked();
};
