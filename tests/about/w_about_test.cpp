#include "about/w_about.h"
#include "contrast.h"
#include "host/toolkit/frame.h"
#include "host/toolkit/message_box.h"
#include "host/toolkit/window_internal.h"
#include "host/win32/windows.h"
#include "publisher/publisher.h"
#include "url_recorder.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr const char* kHiddenTitle = "哈哈,你怎样找到我的!";

class AboutWindow : public testing::Test {
public:
    AboutWindow()
        : previous_(host::setMessageBoxHandler([this](const host::MessageBoxRequest& request) {
              shown.push_back(request);
              return 1;
          }))
    {
        host::widgetOf(frame).resize(800, 600);
        host::widgetOf(frame).show();
    }
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;
    ~AboutWindow() override { host::setMessageBoxHandler(previous_); }

protected:
    // Runs `action` once the modal loop that is about to start is running.
    static void whenModal(QTimer& timer, const std::function<void()>& action)
    {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, action);
        timer.start(0);
    }

    // Opens the box as the user sees it, runs `whileOpen` inside its modal loop, then closes it.
    static void openAndClose(w_about& about, const std::function<void()>& whileOpen)
    {
        QTimer timer;
        whenModal(timer, [&about, whileOpen] {
            whileOpen();
            host::widgetOf(about).close();
        });
        about.openModal();
    }

    // The about box open over the frame, nullptr when there is none.
    [[nodiscard]] w_about* openAbout() const
    {
        return dynamic_cast<w_about*>(host::windowOf(host::widgetOf(frame).findChild<QDialog*>()));
    }

    static win32::LONG exStyle(const w_about& about)
    {
        return win32::GetWindowLongA(about.handle(), win32::GWL_EXSTYLE);
    }

    static void click(QWidget* widget, QPoint at)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    }

    host::Frame frame;
    std::vector<host::MessageBoxRequest> shown;

private:
    host::MessageBoxHandler previous_;
};

TEST_F(AboutWindow, OpeningAddsTheLayeredStyleToEveryBitTheWindowHadAndHalvesItsOpacity)
{
    w_about about(&frame);
    // A bit nobody else sets, to see that opening adds to the style rather than replacing it.
    const win32::LONG before = exStyle(about) | win32::WS_EX_TOPMOST;
    win32::SetWindowLongA(about.handle(), win32::GWL_EXSTYLE, before);
    ASSERT_EQ(before & win32::WS_EX_LAYERED, 0);

    win32::LONG whileOpen = 0;
    double opacity = 0;
    win32::BYTE alpha = 0;
    win32::DWORD flags = 0;
    openAndClose(about, [&] {
        whileOpen = exStyle(about);
        opacity = host::widgetOf(about).windowOpacity();
        win32::GetLayeredWindowAttributes(about.handle(), nullptr, &alpha, &flags);
    });

    EXPECT_EQ(whileOpen, before | win32::WS_EX_LAYERED);
    EXPECT_DOUBLE_EQ(opacity, 128 / 255.0);
    EXPECT_EQ(alpha, 128);
    // Only the alpha flag: no colour of the box is keyed out.
    EXPECT_EQ(flags, win32::LWA_ALPHA);
}

TEST_F(AboutWindow, OpeningAgainLeavesTheStyleAndOpacityAsTheFirstOpeningLeftThem)
{
    w_about about(&frame);
    openAndClose(about, [] {});
    const win32::LONG afterFirst = exStyle(about);
    ASSERT_NE(afterFirst & win32::WS_EX_LAYERED, 0);

    win32::LONG afterSecond = 0;
    double opacity = 0;
    openAndClose(about, [&] {
        afterSecond = exStyle(about);
        opacity = host::widgetOf(about).windowOpacity();
    });
    EXPECT_EQ(afterSecond, afterFirst);
    EXPECT_DOUBLE_EQ(opacity, 128 / 255.0);
}

TEST_F(AboutWindow, OpenWithParentShowsAModalBoxOverTheFrameAndRemovesItOnClose)
{
    bool found = false;
    QTimer timer;
    whenModal(timer, [&] {
        auto* about = openAbout();
        if (about == nullptr) {
            // Leave whatever modal loop runs, so the test fails instead of hanging.
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
            return;
        }
        found = true;
        EXPECT_EQ(QApplication::activeModalWidget(), &host::widgetOf(*about));
        EXPECT_EQ(about->title(), "关于Varnelook");
        EXPECT_DOUBLE_EQ(host::widgetOf(*about).windowOpacity(), 128 / 255.0);
        // Everything on the box lies inside it, so nothing is cut off.
        for (QWidget* control : {about->shl_2->widget(), about->shl_1->widget(),
                                 about->st_2->widget(), about->st_1->widget()}) {
            EXPECT_TRUE(host::widgetOf(*about).rect().contains(control->geometry()))
                << control->geometry().x() << "," << control->geometry().y();
        }
        host::widgetOf(*about).close();
    });

    w_about::openWithParent(&frame);

    EXPECT_TRUE(found);
    EXPECT_EQ(openAbout(), nullptr);
}

TEST_F(AboutWindow, TheDateLineShowsTheHiddenMessageEveryTimeAndNothingElseDoes)
{
    w_about about(&frame);
    openAndClose(about, [&] {
        click(about.st_1->widget(), QPoint(5, 5));
        click(&host::widgetOf(about), QPoint(2, 2));
        EXPECT_TRUE(shown.empty());

        click(about.st_2->widget(), QPoint(5, 5));
        click(about.st_2->widget(), QPoint(5, 5));
    });

    ASSERT_EQ(shown.size(), 2u);
    for (const auto& message : shown) {
        EXPECT_EQ(message.title, kHiddenTitle);
        EXPECT_FALSE(message.text.empty());
        EXPECT_EQ(message.icon, host::Icon::Information);
        EXPECT_EQ(message.button, host::Button::OK);
    }
}

TEST_F(AboutWindow, TheLinksShowThePublishersAddressesAndOpenThemWhenClicked)
{
    w_about about(&frame);
    const std::string email = publisher::kEmailAddress;
    const std::string site = publisher::kWebSite;
    EXPECT_EQ(about.shl_2->text(), "E-mail：" + email);
    EXPECT_EQ(about.shl_2->url(), "mailto:" + email);
    EXPECT_EQ(about.shl_1->text(), "网站：" + site);
    // The web link is the bare address, as written, without a scheme.
    EXPECT_EQ(about.shl_1->url(), site);
    EXPECT_EQ(about.st_1->text(), publisher::kName);
    EXPECT_EQ(about.st_2->text(), "2003年10月22日开发");
    // Setting the links' font must not take their underline away.
    EXPECT_TRUE(about.shl_1->widget()->font().underline());
    EXPECT_TRUE(about.shl_2->widget()->font().underline());

    const UrlRecorder desktop({"mailto", "http", "https"});
    openAndClose(about, [&] {
        click(about.shl_2->widget(), QPoint(5, 5));
        click(about.shl_1->widget(), QPoint(5, 5));
    });
    ASSERT_EQ(desktop.opened.size(), 2);
    EXPECT_EQ(desktop.opened[0], QUrl(QString::fromStdString("mailto:" + email)));
    // The desktop gets the web site as a web address, not as a file beside the program.
    EXPECT_EQ(desktop.opened[1].scheme(), "http");
    EXPECT_EQ(desktop.opened[1].host(), QString::fromStdString(site));
    EXPECT_TRUE(shown.empty());
}

// The lowest row of an area in which some pixel differs from the background; -1 for none.
int lowestInkedRow(const QImage& image, const QRect& area, QRgb background)
{
    for (int y = area.bottom(); y >= area.top(); --y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) | 0xFF000000) != (background | 0xFF000000)) {
                return y;
            }
        }
    }
    return -1;
}

TEST_F(AboutWindow, TheLinkTextsShowWholeWithTheirDescendersAndUnderline)
{
    w_about about(&frame);
    const QImage shown = host::widgetOf(about).grab().toImage();
    const QRgb background = qRgb(166, 202, 240);
    for (const host::StaticHyperlink* link : {about.shl_1.get(), about.shl_2.get()}) {
        const QWidget* label = link->widget();
        // The same text in the same font, drawn from the top of a picture with room below it.
        QImage alone(label->width(), 4 * label->height(), QImage::Format_RGB32);
        alone.fill(background);
        {
            QPainter painter(&alone);
            painter.setFont(label->font());
            painter.setPen(Qt::black);
            painter.drawText(alone.rect(), Qt::AlignLeft | Qt::AlignTop,
                             QString::fromStdString(link->text()));
        }
        const int lowest = lowestInkedRow(alone, alone.rect(), background);
        ASSERT_GT(lowest, 0);
        // In the box, the text starts at the top of its control and nothing of it is cut off.
        const QRect below(label->x(), label->y(), label->width(), lowest + 4);
        EXPECT_EQ(lowestInkedRow(shown, below, background) - label->y(), lowest) << link->text();
    }
}

TEST_F(AboutWindow, TheBoxAndItsControlsShareTheLightBlueBackground)
{
    w_about about(&frame);
    const QColor lightBlue(166, 202, 240);
    EXPECT_EQ(host::widgetOf(about).palette().color(QPalette::Window), lightBlue);
    for (QWidget* control : {about.shl_2->widget(), about.shl_1->widget(), about.st_2->widget(),
                             about.st_1->widget()}) {
        EXPECT_EQ(control->palette().color(QPalette::Window), lightBlue);
        EXPECT_TRUE(control->autoFillBackground());
    }
    // The user cannot resize the box.
    EXPECT_EQ(host::widgetOf(about).minimumSize(), host::widgetOf(about).maximumSize());
}

TEST_F(AboutWindow, ItsTextsAndLinksStayLegibleOnItsBlueInADarkPalette)
{
    // The box is light blue whatever the desktop's palette; a dark one has light text.
    const test::ScopedPalette dark(test::darkPalette());
    w_about about(&frame);
    openAndClose(about, [&] {
        for (host::Control* control : std::initializer_list<host::Control*>{
                 about.st_1.get(), about.st_2.get(), about.shl_1.get(), about.shl_2.get()}) {
            const QImage shown = control->widget()->grab().toImage();
            EXPECT_GE(test::textContrast(shown, shown.rect()), 4.5)
                << control->widget()->metaObject()->className();
        }
    });
}

} // namespace
