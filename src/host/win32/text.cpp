#include "host/win32/text.h"

#include "host/win32/dc_internal.h"
#include "host/win32/fonts.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <cstring>
#include <vector>

namespace win32 {

using namespace detail;

namespace {

QString decode(const char* text, int count)
{
    if (text == nullptr) {
        return {};
    }
    const auto length =
        count < 0 ? static_cast<qsizetype>(std::strlen(text)) : static_cast<qsizetype>(count);
    return QString::fromUtf8(text, length);
}

// One line as it is drawn: prefix characters taken out, the mnemonic (if any) remembered.
struct Line {
    QString text;
    qsizetype underline = -1;
};

Line stripPrefix(const QString& raw, bool prefixes)
{
    Line line;
    if (!prefixes) {
        line.text = raw;
        return line;
    }
    line.text.reserve(raw.size());
    for (qsizetype i = 0; i < raw.size(); ++i) {
        if (raw[i] != QLatin1Char('&')) {
            line.text += raw[i];
            continue;
        }
        if (i + 1 >= raw.size()) {
            break; // a lone "&" at the end shows nothing
        }
        ++i;
        if (raw[i] != QLatin1Char('&')) {
            line.underline = line.text.size();
        }
        line.text += raw[i];
    }
    return line;
}

QString expandTabs(const QString& text, UINT format)
{
    if (!text.contains(QLatin1Char('\t'))) {
        return text;
    }
    if ((format & DT_EXPANDTABS) == 0) {
        QString spaced = text;
        spaced.replace(QLatin1Char('\t'), QLatin1Char(' '));
        return spaced;
    }
    QString expanded;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) {
            expanded += QString(8 - expanded.size() % 8, QLatin1Char(' '));
        } else {
            expanded += c;
        }
    }
    return expanded;
}

// Greedy word wrap at spaces; a word wider than the width stays whole on its own line.
std::vector<QString> wrap(const QString& text, const QFontMetrics& metrics, int width)
{
    std::vector<QString> lines;
    QString current;
    for (const QString& word : text.split(QLatin1Char(' '))) {
        const QString candidate = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
        if (!current.isEmpty() && metrics.horizontalAdvance(candidate) > width) {
            lines.push_back(current);
            current = word;
        } else {
            current = candidate;
        }
    }
    lines.push_back(current);
    return lines;
}

std::vector<Line> layoutLines(const QString& text, UINT format, const QFontMetrics& metrics,
                              int width)
{
    const bool prefixes = (format & DT_NOPREFIX) == 0;
    std::vector<Line> lines;
    if ((format & DT_SINGLELINE) != 0) {
        QString flat = text;
        flat.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines.push_back(stripPrefix(expandTabs(flat, format), prefixes));
        return lines;
    }
    QString normalised = text;
    normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
        const QString expanded = expandTabs(paragraph, format);
        if ((format & DT_WORDBREAK) == 0) {
            lines.push_back(stripPrefix(expanded, prefixes));
            continue;
        }
        for (const QString& piece : wrap(expanded, metrics, width)) {
            lines.push_back(stripPrefix(piece, prefixes));
        }
    }
    return lines;
}

} // namespace

int DrawTextA(HDC dc, const char* text, int count, RECT* rect, UINT format)
{
    DeviceContext* context = findDC(dc);
    if (context == nullptr || rect == nullptr) {
        return 0;
    }
    const FontObject& font = currentFont(*context);
    const QFontMetrics metrics(font.font);
    const int lineHeight = metrics.height();
    const QString decoded = decode(text, count);
    if (decoded.isEmpty()) {
        if ((format & DT_CALCRECT) != 0) {
            rect->right = rect->left;
            rect->bottom = rect->top + ((format & DT_SINGLELINE) != 0 ? lineHeight : 0);
        }
        return 0;
    }
    const std::vector<Line> lines = layoutLines(decoded, format, metrics, rect->right - rect->left);
    const int height = lineHeight * static_cast<int>(lines.size());
    if ((format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const Line& line : lines) {
            widest = std::max(widest, metrics.horizontalAdvance(line.text));
        }
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }

    // Vertical placement other than the top only applies to a single line, as in Win32.
    int top = rect->top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0) {
            top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
        } else if ((format & DT_BOTTOM) != 0) {
            top = rect->bottom - lineHeight;
        }
    }
    const DcState state = context->state;
    const RECT box = *rect;
    paintOn(*context, [&](QPainter& painter) {
        if ((format & DT_NOCLIP) == 0) {
            painter.setClipRect(
                QRect(box.left, box.top, box.right - box.left, box.bottom - box.top),
                Qt::IntersectClip);
        }
        painter.setFont(font.font);
        painter.setPen(toQColor(state.textColor));
        int y = top;
        for (const Line& line : lines) {
            const int width = metrics.horizontalAdvance(line.text);
            int x = box.left;
            if ((format & DT_RIGHT) != 0) {
                x = box.right - width;
            } else if ((format & DT_CENTER) != 0) {
                x = box.left + (box.right - box.left - width) / 2;
            }
            painter.save();
            painter.translate(x, y);
            // A font with an escapement turns around the line's top-left corner.
            painter.rotate(-font.logfont.lfEscapement / 10.0);
            if (state.bkMode == OPAQUE) {
                painter.fillRect(QRect(0, 0, width, lineHeight), toQColor(state.bkColor));
            }
            painter.drawText(QPoint(0, metrics.ascent()), line.text);
            if (line.underline >= 0) {
                const int start = metrics.horizontalAdvance(line.text.left(line.underline));
                const int length = metrics.horizontalAdvance(line.text.at(line.underline));
                painter.fillRect(QRect(start, metrics.ascent() + metrics.underlinePos(), length,
                                       std::max(1, metrics.lineWidth())),
                                 toQColor(state.textColor));
            }
            painter.restore();
            y += lineHeight;
        }
    });
    return height;
}

BOOL TextOutA(HDC dc, int x, int y, const char* text, int count)
{
    RECT rect{x, y, x, y};
    DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return 0;
    }
    DrawTextA(dc, text, count, &rect, DT_NOCLIP | DT_NOPREFIX | DT_SINGLELINE);
    return 1;
}

BOOL GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size)
{
    const DeviceContext* context = findDC(dc);
    if (context == nullptr || size == nullptr || (text == nullptr && count != 0)) {
        return 0;
    }
    const QFontMetrics metrics(currentFont(*context).font);
    size->cx = metrics.horizontalAdvance(decode(text, count));
    size->cy = metrics.height();
    return 1;
}

int GetTextFaceA(HDC dc, int size, char* buffer)
{
    const DeviceContext* context = findDC(dc);
    if (context == nullptr) {
        return 0;
    }
    const FontObject& font = currentFont(*context);
    // The name the font was asked for, so that a face read back makes the same font again.
    QString face =
        QString::fromUtf8(font.logfont.lfFaceName,
                          static_cast<qsizetype>(strnlen(font.logfont.lfFaceName, LF_FACESIZE)));
    if (face.isEmpty()) {
        face = QFontInfo(font.font).family();
    }
    if (buffer == nullptr) {
        return static_cast<int>(face.toUtf8().size()) + 1;
    }
    if (size <= 0) {
        return 0;
    }
    copyUtf8(face, buffer, size);
    return static_cast<int>(std::strlen(buffer));
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics)
{
    const DeviceContext* context = findDC(dc);
    if (context == nullptr || metrics == nullptr) {
        return 0;
    }
    const FontObject& font = currentFont(*context);
    const QFontMetrics fm(font.font);
    const QFontInfo info(font.font);
    TEXTMETRICA tm;
    tm.tmHeight = fm.height();
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmInternalLeading = std::max(0, fm.height() - info.pixelSize());
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    tm.tmWeight = font.logfont.lfWeight > 0 ? font.logfont.lfWeight : info.weight();
    tm.tmDigitizedAspectX = 96;
    tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = '?';
    tm.tmBreakChar = ' ';
    tm.tmItalic = info.italic() ? 1 : 0;
    tm.tmUnderlined = font.font.underline() ? 1 : 0;
    tm.tmStruckOut = font.font.strikeOut() ? 1 : 0;
    tm.tmPitchAndFamily = info.fixedPitch() ? 0 : 1; // Win32's bit 0 set means variable pitch
    tm.tmCharSet = font.logfont.lfCharSet;
    *metrics = tm;
    return 1;
}

} // namespace win32
