// Host-internal: turning LOGFONTA requests into Qt fonts and Qt fonts back into LOGFONTA,
// including the mapping of Windows face names to the faces installed here.
#pragma once

#include "host/win32/types.h"

#include <QFont>
#include <QString>

namespace win32::detail {

// The installed family that stands for a Windows face name ("宋体" -> Noto Serif CJK SC, ...);
// other names are returned unchanged.
QString mapFaceName(const QString& face);

QFont fontFromLogFont(const LOGFONTA& logfont);
LOGFONTA logFontFromFont(const QFont& font);

// The same font sized in pixels, so that it measures alike on every surface whatever its dpi.
QFont pixelSized(const QFont& font);

// Copies UTF-8 text into a fixed buffer, zero-terminated, never cutting a character in two.
void copyUtf8(const QString& text, char* buffer, int size);

} // namespace win32::detail
