#include "browse/w_brow.h"
#include "host/toolkit/frame_internal.h"
#include "viewer_fixture.h"

#include <QDesktopServices>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Stands in for the desktop's web browser.
class Browser : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened.push_back(url); }
};

TEST(Logo, AClickOnTheLogoOpensThePublishersAddressInTheWebBrowser)
{
    testing_support::ScratchFolder folder;
    Browser browser;
    QDesktopServices::setUrlHandler("https", &browser, "open");
    w_brow sheet;
    host::widgetOf(sheet).resize(1200, 700);
    host::widgetOf(sheet).show();
    QCoreApplication::processEvents();
    QWidget* logo = sheet.phl_1->widget();
    EXPECT_FALSE(logo->toolTip().isEmpty());
    QTest::mouseClick(logo, Qt::LeftButton, {}, logo->rect().center());
    QDesktopServices::unsetUrlHandler("https");

    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_EQ(browser.opened.front().toString().toStdString(), sheet.phl_1->url());
}

} // namespace

#include "hyperlink_test.moc"
