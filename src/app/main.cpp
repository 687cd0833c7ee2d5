#include "app/browser.h"
#include "host/toolkit/application.h"

#include <QGuiApplication>
#include <memory>

int main(int argc, char** argv)
{
    // Ties the running windows to the installed desktop entry (its name and icon in the task
    // switcher), whatever the application calls itself.
    QGuiApplication::setDesktopFileName(QStringLiteral("varnelook"));
    return host::run(argc, argv, [] { return std::make_unique<browser>(); });
}
