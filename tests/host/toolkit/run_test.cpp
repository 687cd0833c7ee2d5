// The process's run as the executable starts it: Qt's own command-line options change nothing.
// host::run makes the process's QApplication itself, so this test has none of its own.
#include "host/toolkit/application.h"

#include <QApplication>
#include <QFile>
#include <QProxyStyle>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// What the program finds when it opens: the look Qt took from the command line, and the
// command line the program gets.
struct Seen {
    QString style;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    QString styleSheet;
    QStringList toolkitArguments;
    std::string commandline;
};

class Probe : public host::Application {
public:
    explicit Probe(Seen& seen) : seen_(seen) {}

protected:
    void onOpen(const std::string& commandline) override
    {
        const auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
        seen_.style = style != nullptr ? style->baseStyle()->name() : QApplication::style()->name();
        seen_.direction = QApplication::layoutDirection();
        seen_.styleSheet = qApp->styleSheet();
        seen_.toolkitArguments = QApplication::arguments();
        seen_.commandline = commandline;
        // No window opens, so the run ends right after this event.
    }

private:
    Seen& seen_;
};

Seen runWith(std::vector<std::string> arguments)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    Seen seen;
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int code = host::run(static_cast<int>(arguments.size()), argv.data(),
                               [&seen] { return std::make_unique<Probe>(seen); });
    EXPECT_EQ(code, 0);
    return seen;
}

TEST(ApplicationRun, QtsOwnOptionsOnTheCommandLineChangeNothingAndReachTheProgram)
{
    QTemporaryDir folder;
    const QString sheet = folder.filePath(QStringLiteral("red.qss"));
    {
        QFile file(sheet);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("* { color: red; background: red; }");
    }
    const Seen plain = runWith({"varnelook"});
    const std::string qss = sheet.toStdString();
    const Seen withOptions = runWith({"varnelook", "-style", "windows", "-reverse", "-stylesheet",
                                      qss, "-widgetcount", "archive.zqr"});

    EXPECT_FALSE(plain.style.isEmpty());
    EXPECT_EQ(withOptions.style, plain.style);
    EXPECT_EQ(withOptions.direction, Qt::LeftToRight);
    EXPECT_TRUE(withOptions.styleSheet.isEmpty());
    EXPECT_EQ(withOptions.toolkitArguments, QStringList{QStringLiteral("varnelook")});
    EXPECT_EQ(withOptions.commandline,
              "-style windows -reverse -stylesheet " + qss + " -widgetcount archive.zqr");
}

} // namespace
