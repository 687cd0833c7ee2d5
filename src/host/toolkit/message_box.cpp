#include "host/toolkit/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace host {

namespace {

MessageBoxHandler& currentHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::StopSign:
        return QMessageBox::Critical;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

int MessageBox(const std::string& title, const std::string& text, Icon icon, Button button)
{
    if (const auto& handler = currentHandler()) {
        return handler(MessageBoxRequest{title, text, icon, button});
    }
    // The program's texts break lines with "\r\n", the Windows line end; a label would show the
    // "\r".
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(toQt(icon), QString::fromStdString(title), shown, QMessageBox::Ok,
                    QApplication::activeWindow());
    // The program's own boxes keep their OK button as it always read; Qt's translations
    // (translations.h) are for Qt's own dialogs.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
    return 1;
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler)
{
    return std::exchange(currentHandler(), std::move(handler));
}

} // namespace host
