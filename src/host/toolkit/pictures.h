// Pictures by the names the program gives them: stock pictures by their names ending in "!",
// pictures stored with the program (":/assets/") by file name, then files by path. A transparent
// colour turns those pixels clear.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <optional>
#include <string>

namespace host {

QImage loadPicture(const std::string& name);
QPixmap withTransparentColor(const QImage& picture, long transparent);

// A picture as a pixmap, clear where it has the transparent colour (when one is given) and
// scaled to fit `fit` keeping its proportions (when `fit` is valid). The program's own pictures
// (stored with it, or stock) are made once and the same pixmap is handed out after that: Qt
// caches what it derives from a pixmap (scaled icons, disabled looks) under that pixmap's
// identity, so every window showing a picture reuses those instead of adding copies of its own.
QPixmap picturePixmap(const std::string& name, std::optional<long> transparent = std::nullopt,
                      QSize fit = QSize());

} // namespace host
