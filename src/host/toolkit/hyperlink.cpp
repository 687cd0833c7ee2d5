#include "host/toolkit/hyperlink.h"

#include <QDesktopServices>
#include <QUrl>

namespace host {

namespace {

QUrl targetUrl(const std::string& url)
{
    const QString text = QString::fromStdString(url).trimmed();
    const QUrl given(text);
    // Without a scheme the address would be taken for a file path relative to the current
    // directory; a link without a scheme names a web site.
    return given.scheme().isEmpty() ? QUrl::fromUserInput(text) : given;
}

} // namespace

bool openHyperlink(const std::string& url)
{
    if (url.empty()) {
        return false;
    }
    return QDesktopServices::openUrl(targetUrl(url));
}

} // namespace host
