// The program's arguments: none (the open dialog), a data file, or an export without window.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct CommandLine {
    enum class Action {
        Dialog,    // no argument: the open dialog asks for the data file
        Open,      // FILE: opened without the dialog
        Export,    // --export DIR FILE: every view written into DIR, no window
        Help,      // --help
        Version,   // --version
        Usage,     // anything else: `problem` says what
    };
    Action action = Action::Dialog;
    QByteArray file;     // as given, bytes as the file system spells them
    QByteArray folder;   // Export's DIR
    QString problem;
};

// `arguments` without the program's own name. "--" ends the options, so a file whose name
// starts with '-' can be named.
CommandLine ParseCommandLine(const QList<QByteArray> &arguments);

// The usage, in German, as --help prints it.
QString UsageText();
