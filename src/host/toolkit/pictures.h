// Pictures by the names the program gives them: stock pictures by their names ending in "!",
// pictures stored with the program (":/assets/") by file name, then files by path. A transparent
// colour turns those pixels clear.
#pragma once

#include <QImage>
#include <QPixmap>
#include <string>

namespace host {

QImage loadPicture(const std::string& name);
QPixmap withTransparentColor(const QImage& picture, long transparent);

} // namespace host
