// The window program's command line and its working folder: `--dir DIR`,
// `--help`, `--version` and the files or folders to add to the library.
#pragma once

#include <QString>
#include <QStringList>

struct CCommandLine {
    enum Action { Run, Help, Version, Invalid };

    Action action = Run;
    QString folder;    // from --dir; empty for the per-user folder
    QStringList paths; // files and folders to add, as given
    QString error;     // why the line is Invalid
};

// arguments[0] is the program. Arguments that start with "--" are options
// (also in the form --dir=DIR); "--" ends them; every other argument is a path.
CCommandLine ParseCommandLine(const QStringList& arguments);
// The text that --help prints.
QString CommandLineUsage();
// $XDG_DATA_HOME/cricklet, or ~/.local/share/cricklet when XDG_DATA_HOME is
// unset or not absolute.
QString DefaultWorkFolder();
// Makes the folder when missing (only the per-user one: a mistyped --dir
// must not leave a stray folder) and changes into it; false with the
// system's reason in error otherwise.
bool EnterWorkFolder(const QString& folder, bool create, QString& error);
// The paths made absolute against the folder the program was started from,
// before it changes into its working folder.
QStringList AbsolutePaths(const QStringList& paths);
