// Which of Qt's image-format plugins this process has loaded, read from its memory map: loading
// them all (and the libraries behind them) is a good part of start-up, so tests check who does.
#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QString>

namespace testing_support {

// The loaded image-format plugins by file name ("libqgif.so").
inline QSet<QString> loadedImagePlugins()
{
    QSet<QString> plugins;
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) {
        return plugins;
    }
    static const QRegularExpression plugin(QStringLiteral("/imageformats/(lib[^/\\s]+\\.so)"));
    for (auto match = plugin.globalMatch(QString::fromLocal8Bit(maps.readAll()));
         match.hasNext();) {
        plugins.insert(match.next().captured(1));
    }
    return plugins;
}

} // namespace testing_support
