// The application's style with one change: the pictures of a window's frame buttons (minimise,
// restore, close, and the like) are made once. Qt's styles make fresh pixmaps for them on every
// paint, and each fresh pixmap leaves scaled copies in Qt's pixmap cache that nothing finds
// again, so a frame that opens and closes sheets all day would keep filling that cache.
#pragma once

#include <QIcon>
#include <QProxyStyle>
#include <map>

namespace host {

class WindowButtonStyle : public QProxyStyle {
public:
    // Makes a WindowButtonStyle over the current one the application's style, unless it is so
    // already.
    static void install();

    [[nodiscard]] QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                                     const QWidget* widget) const override;

private:
    explicit WindowButtonStyle(QStyle* base);

    mutable std::map<StandardPixmap, QIcon> icons_;
};

} // namespace host
