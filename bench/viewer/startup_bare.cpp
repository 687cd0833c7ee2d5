// A bare Qt Widgets window that exits as soon as it has been painted: the baseline of
// bench/startup-bench.
#include "first_paint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication toolkit(argc, argv);
    QWidget window;
    QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.setWindowTitle("bare");
    window.showMaximized();
    return QApplication::exec();
}
