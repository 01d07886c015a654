// Cricklet (鸣蛩): the desktop program. It works in the current folder, where
// the library's store files are read at start-up.
#include "app/TunecaseApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cricklet"));
    QApplication::setQuitOnLastWindowClosed(true);
    CTunecaseApp theApp;
    if (!theApp.InitInstance()) {
        return 0;
    }
    return QApplication::exec();
}
