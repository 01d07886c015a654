// Cricklet (鸣蛩): the desktop program. It works in the per-user folder
// $XDG_DATA_HOME/cricklet, or in the folder given with --dir, where the
// library's store files are read at start-up.
#include "app/CommandLine.h"
#include "app/TunecaseApp.h"

#include "formats/HtmlExport.h"

#include <QApplication>

#include <cstdio>

namespace {

QStringList RawArguments(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

} // namespace

int main(int argc, char* argv[]) {
    // Help and version answer before Qt looks for a display.
    const CCommandLine early = ParseCommandLine(RawArguments(argc, argv));
    if (early.action == CCommandLine::Help) {
        std::fputs(CommandLineUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (early.action == CCommandLine::Version) {
        std::printf("cricklet %s\n", CRICKLET_VERSION);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cricklet"));
    QApplication::setApplicationVersion(QStringLiteral(CRICKLET_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(CRICKLET_APP_ID));
    QApplication::setQuitOnLastWindowClosed(true);
    // Qt has taken its own options (-platform, -style, ...) out by now.
    const CCommandLine line = ParseCommandLine(QApplication::arguments());
    if (line.action == CCommandLine::Invalid) {
        std::fprintf(stderr, "cricklet: %s\n\n%s", line.error.toLocal8Bit().constData(),
                     CommandLineUsage().toLocal8Bit().constData());
        return 2;
    }
    FindDataFolderBesideProgram(QCoreApplication::applicationDirPath().toStdString());
    CTunecaseApp theApp;
    if (!theApp.InitInstance(line)) {
        return theApp.ExitCode();
    }
    return QApplication::exec();
}
