// A desktop of the test's own for opening files: XDG data and config folders in a temporary
// folder, where one application, a script that records the file it was asked to open, is the
// default for plain text and nothing handles any other type. GIO reads these folders once per
// process, so the desktop is made once, before the first test, and lives for the whole run.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace testing_support {

class TestDesktop : public testing::Environment {
public:
    void SetUp() override
    {
        folder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder_->isValid());
        const QDir root(folder_->path());
        ASSERT_TRUE(root.mkpath("data/applications"));
        ASSERT_TRUE(root.mkpath("config"));
        ASSERT_TRUE(root.mkpath("system"));
        // Only the mime database of the system is visible, none of its applications.
        ASSERT_TRUE(QFile::link("/usr/share/mime", root.filePath("system/mime")));

        const QString handler = root.filePath("open-handler.sh");
        write(handler, "#!/bin/sh\nprintf '%s' \"$1\" > \"" + markerPath() + ".part\"\nmv \"" +
                           markerPath() + ".part\" \"" + markerPath() + "\"\n");
        QFile::setPermissions(handler, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write(root.filePath("data/applications/varnelook-test-open.desktop"),
              "[Desktop Entry]\nType=Application\nName=Varnelook test handler\nExec=" + handler +
                  " %f\nMimeType=text/plain;\nNoDisplay=true\n");
        write(root.filePath("config/mimeapps.list"),
              "[Default Applications]\ntext/plain=varnelook-test-open.desktop\n");

        setenv("XDG_DATA_HOME", root.filePath("data").toLocal8Bit().constData(), 1);
        setenv("XDG_CONFIG_HOME", root.filePath("config").toLocal8Bit().constData(), 1);
        setenv("XDG_DATA_DIRS", root.filePath("system").toLocal8Bit().constData(), 1);
        setenv("XDG_CONFIG_DIRS", root.filePath("config").toLocal8Bit().constData(), 1);
    }

    void TearDown() override { folder_.reset(); }

    // The file the handler writes the path it was given into.
    static QString markerPath() { return instance()->folder_->filePath("opened"); }

    // Waits (handing events on) until the handler has run; the path it was given, or empty.
    static std::string waitForOpen()
    {
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(markerPath()) && waited.elapsed() < 20000) {
            if (QCoreApplication::instance() != nullptr) {
                QCoreApplication::processEvents();
            }
            QThread::msleep(10);
        }
        QFile marker(markerPath());
        if (!marker.open(QIODevice::ReadOnly)) {
            return {};
        }
        const std::string opened = marker.readAll().toStdString();
        marker.remove();
        return opened;
    }

    static TestDesktop* instance()
    {
        static TestDesktop* desktop = [] {
            auto* made = new TestDesktop; // NOLINT(cppcoreguidelines-owning-memory): gtest owns it
            testing::AddGlobalTestEnvironment(made);
            return made;
        }();
        return desktop;
    }

private:
    static void write(const QString& path, const QString& text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }

    std::unique_ptr<QTemporaryDir> folder_;
};

} // namespace testing_support
