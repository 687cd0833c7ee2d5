// The application's style: the desktop's own, with two changes that keep Qt from loading every
// image-format plugin, and the libraries behind them, while the first window is built and
// painted, without changing a pixel of what is drawn.
//
// Qt reads some of its own pictures by file name with format detection on. For a PNG, which no
// plugin claims, detection asks every plugin whether it reads the file, and so loads them all.
// Two kinds of such pictures are met at start-up:
// - standard icons that widgets ask for when they are built (the menu bar's and the toolbar's
//   extension buttons), mostly for buttons that never show: here such an icon is made the first
//   time it is drawn or measured;
// - the pictures the style draws frames from (a group box's frame): these are read once here as
//   PNG, which needs no plugin, into the pixmap cache where Qt looks for them first.
// And one change that keeps long use from growing the heap: the pictures of a window's frame
// buttons (minimise, restore, close, and the like) are made once. Qt's styles make fresh pixmaps
// for them on every paint, each leaving scaled copies in Qt's pixmap cache that nothing finds
// again, so a frame whose sheets come and go all day would keep filling that cache.
#pragma once

#include <QIcon>
#include <QProxyStyle>
#include <map>

namespace host {

class ApplicationStyle : public QProxyStyle {
public:
    // Makes the application's current style the base of an ApplicationStyle and installs that
    // as the application's style; does nothing without a QApplication or when one is installed
    // already. Call before the first window is created.
    static void install();

    // A style over `base`, which it owns from here (install() makes the application's).
    explicit ApplicationStyle(QStyle* base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option,
                       const QWidget* widget) const override;

private:
    QIcon deferredIcon(StandardPixmap standardIcon, const QStyleOption* option,
                       const QWidget* widget) const;

    mutable std::map<StandardPixmap, QIcon> windowButtonIcons_;
};

// Reads the picture at `path` (a PNG) without trying other formats and puts it in the pixmap
// cache under the key QPixmap::load looks for first, so a later QPixmap(path) finds it there.
// Does nothing when there is no such file. Returns whether the picture was read.
bool preloadPicture(const QString& path);

} // namespace host
