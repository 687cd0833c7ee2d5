#include "host/toolkit/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace host {

namespace {

constexpr const char* kTranslatorName = "varnelook-toolkit-translations";

} // namespace

bool installToolkitTranslations()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (application == nullptr) {
        return false;
    }
    if (application->findChild<QTranslator*>(QString::fromLatin1(kTranslatorName),
                                             Qt::FindDirectChildrenOnly) != nullptr) {
        return true;
    }
    // The application owns the translator, which it needs for as long as it runs.
    auto* translator = new QTranslator(application); // NOLINT(cppcoreguidelines-owning-memory)
    translator->setObjectName(QString::fromLatin1(kTranslatorName));
    // qtbase holds the texts of the widgets and dialogs the program uses.
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator; // NOLINT(cppcoreguidelines-owning-memory)
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace host
