// A bare Qt Widgets window that exits as soon as it has been painted: the baseline of
// bench/startup-bench.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication toolkit(argc, argv);
    QWidget window;
    window.setWindowTitle("bare");
    window.showMaximized();
    QTimer::singleShot(0, [&window] {
        window.repaint();
        QApplication::exit(0);
    });
    return QApplication::exec();
}
