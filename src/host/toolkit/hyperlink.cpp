#include "host/toolkit/hyperlink.h"

#include <QDesktopServices>
#include <QUrl>

namespace host {

bool openHyperlink(const std::string& url)
{
    if (url.empty()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
}

} // namespace host
