#include "host/win32/fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <algorithm>
#include <cstring>

namespace win32::detail {

QString mapFaceName(const QString& face)
{
    // The Windows faces the program's texts name, and the installed faces with the same role
    // (Song = serif CJK, Hei = sans CJK, metric twins of the Latin core fonts).
    static const QHash<QString, QString> faces{
        {QStringLiteral("宋体"), QStringLiteral("Noto Serif CJK SC")},
        {QStringLiteral("新宋体"), QStringLiteral("Noto Serif CJK SC")},
        {QStringLiteral("simsun"), QStringLiteral("Noto Serif CJK SC")},
        {QStringLiteral("nsimsun"), QStringLiteral("Noto Serif CJK SC")},
        {QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC")},
        {QStringLiteral("simhei"), QStringLiteral("Noto Sans CJK SC")},
        {QStringLiteral("微软雅黑"), QStringLiteral("Noto Sans CJK SC")},
        {QStringLiteral("microsoft yahei"), QStringLiteral("Noto Sans CJK SC")},
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("ms sans serif"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("tahoma"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
    };
    return faces.value(face.trimmed().toLower(), face);
}

namespace {

int defaultPixelSize()
{
    return std::max(1, QFontInfo(QGuiApplication::font()).pixelSize());
}

} // namespace

QFont fontFromLogFont(const LOGFONTA& logfont)
{
    const QString face = QString::fromUtf8(
        logfont.lfFaceName, static_cast<qsizetype>(strnlen(logfont.lfFaceName, LF_FACESIZE)));
    QFont font = QGuiApplication::font();
    if (!face.isEmpty()) {
        font.setFamilies({mapFaceName(face)});
    }
    if (logfont.lfHeight < 0) {
        font.setPixelSize(-logfont.lfHeight);
    } else if (logfont.lfHeight > 0) {
        // A positive height asks for the cell height (ascent + descent): scale the em size so
        // that the font's own cell comes out at that height.
        font.setPixelSize(logfont.lfHeight);
        const int cell = QFontMetrics(font).height();
        if (cell > 0 && cell != logfont.lfHeight) {
            font.setPixelSize(std::max(1, logfont.lfHeight * logfont.lfHeight / cell));
        }
    } else {
        font.setPixelSize(defaultPixelSize());
    }
    if (logfont.lfWeight > 0) {
        font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(logfont.lfWeight, 100, 900)));
    } else {
        font.setWeight(QFont::Normal);
    }
    font.setItalic(logfont.lfItalic != 0);
    font.setUnderline(logfont.lfUnderline != 0);
    font.setStrikeOut(logfont.lfStrikeOut != 0);
    return font;
}

LOGFONTA logFontFromFont(const QFont& font)
{
    LOGFONTA logfont;
    const QFontInfo info(font);
    logfont.lfHeight = -std::max(1, info.pixelSize());
    logfont.lfWeight = std::clamp(static_cast<int>(info.weight()), 100, 900);
    logfont.lfItalic = info.italic() ? 1 : 0;
    logfont.lfUnderline = font.underline() ? 1 : 0;
    logfont.lfStrikeOut = font.strikeOut() ? 1 : 0;
    logfont.lfCharSet = DEFAULT_CHARSET;
    copyUtf8(info.family(), logfont.lfFaceName, LF_FACESIZE);
    return logfont;
}

QFont pixelSized(const QFont& font)
{
    QFont sized = font;
    sized.setPixelSize(std::max(1, QFontInfo(font).pixelSize()));
    return sized;
}

void copyUtf8(const QString& text, char* buffer, int size)
{
    if (buffer == nullptr || size <= 0) {
        return;
    }
    const QByteArray bytes = text.toUtf8();
    qsizetype length = std::min<qsizetype>(bytes.size(), size - 1);
    // Step back over continuation bytes so that no character is cut in two.
    while (length > 0 && length < bytes.size() &&
           (static_cast<unsigned char>(bytes[length]) & 0xC0) == 0x80) {
        --length;
    }
    std::memcpy(buffer, bytes.constData(), static_cast<std::size_t>(length));
    buffer[length] = '\0';
}

} // namespace win32::detail
