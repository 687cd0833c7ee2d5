// Opening a hyperlink's address in the desktop's web browser, shared by the hyperlink controls.
#pragma once

#include <string>

namespace host {

// Hands the address to the desktop; false when no browser took it. An address with a scheme
// ("mailto:...", "https://...") goes as it is; a bare web address ("www.example.org") as the
// http address people mean by it, never as a file beside the program.
bool openHyperlink(const std::string& url);

} // namespace host
