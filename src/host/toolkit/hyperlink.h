// Opening a hyperlink's address in the desktop's web browser, shared by the hyperlink controls.
#pragma once

#include <string>

namespace host {

// Hands the address to the desktop; false when no browser took it.
bool openHyperlink(const std::string& url);

} // namespace host
