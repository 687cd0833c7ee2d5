// Qt's own texts in the program's language: the labels and buttons of Qt's dialogs (the save
// dialog, its replace prompt), a sheet's system menu, the edit fields' context menus. The
// program's texts are all Chinese, so Qt's are too, whatever the desktop's language.
#pragma once

namespace host {

// Installs Qt's Chinese translations (Debian: qt6-translations-l10n) into the application, once;
// does nothing without a QApplication. Returns whether they are installed: false when the
// translations are not there, and Qt then speaks English.
bool installToolkitTranslations();

} // namespace host
