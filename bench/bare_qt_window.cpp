// The yardstick of the capture-road benchmark: the least a Qt Widgets program
// does before its event loop turns idle, with one hidden top-level window
// whose native window exists, as the program's capture panel does.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.winId();
    // Leaves at the first idle turn without the teardown, as the program does
    // when measured.
    QTimer::singleShot(0, [] { std::_Exit(0); });
    return application.exec();
}
