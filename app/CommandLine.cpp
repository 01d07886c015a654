#include "app/CommandLine.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

const char* const kFolderName = "cricklet";

CCommandLine Invalid(const QString& error) {
    CCommandLine line;
    line.action = CCommandLine::Invalid;
    line.error = error;
    return line;
}

} // namespace

CCommandLine ParseCommandLine(const QStringList& arguments) {
    CCommandLine line;
    bool optionsEnded = false;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            line.paths << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help")) {
            line.action = CCommandLine::Help;
            return line;
        } else if (argument == QLatin1String("--version")) {
            line.action = CCommandLine::Version;
            return line;
        } else if (argument == QLatin1String("--dir") ||
                   argument.startsWith(QLatin1String("--dir="))) {
            QString folder = argument.mid(6);
            if (argument.size() == 5 && i + 1 < arguments.size()) {
                folder = arguments[++i];
            }
            if (folder.isEmpty()) {
                return Invalid(QStringLiteral("--dir needs a folder"));
            }
            line.folder = folder;
        } else {
            return Invalid(QStringLiteral("unknown option ") + argument);
        }
    }
    return line;
}

QString CommandLineUsage() {
    return QStringLiteral(
        "Usage: cricklet [--dir DIR] [FILE or FOLDER]...\n"
        "\n"
        "Cricklet (鸣蛩) keeps your music library and plays any part of it.\n"
        "\n"
        "  --dir DIR    work in DIR instead of $XDG_DATA_HOME/cricklet\n"
        "               (by default ~/.local/share/cricklet)\n"
        "  --help       show this text\n"
        "  --version    show the version\n"
        "\n"
        "An M3U playlist is added as an entry, a music file as a song, a folder is\n"
        "imported. When Cricklet already runs, that copy adds them and comes to the\n"
        "front.\n");
}

QString DefaultWorkFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (!QDir::isAbsolutePath(base)) {
        base = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return QDir::cleanPath(base + QLatin1Char('/') + QLatin1String(kFolderName));
}

bool EnterWorkFolder(const QString& folder, bool create, QString& error) {
    errno = 0;
    if ((create && !QDir().mkpath(folder)) || !QDir::setCurrent(folder)) {
        error = QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : ENOENT));
        return false;
    }
    return true;
}

QStringList AbsolutePaths(const QStringList& paths) {
    QStringList absolute;
    for (const QString& path : paths) {
        absolute << QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    }
    return absolute;
}
