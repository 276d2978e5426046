#include "CommandLine.h"

namespace {

CommandLine Usage(const QString &problem)
{
    CommandLine line;
    line.action = CommandLine::Action::Usage;
    line.problem = problem;
    return line;
}

} // namespace

CommandLine ParseCommandLine(const QList<QByteArray> &arguments)
{
    CommandLine line;
    QList<QByteArray> rest;
    bool options = true;
    for (const QByteArray &a : arguments) {
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "--help" || a == "-h")) {
            line.action = CommandLine::Action::Help;
            return line;
        } else if (options && a == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        } else if (options && a == "--export") {
            if (line.action == CommandLine::Action::Export)
                return Usage(QStringLiteral("--export ist doppelt angegeben."));
            line.action = CommandLine::Action::Export;
        } else if (options && a.startsWith('-') && a.size() > 1) {
            return Usage(QStringLiteral("Unbekannte Option: %1").arg(QString::fromLocal8Bit(a)));
        } else {
            rest.append(a);
        }
    }
    if (line.action == CommandLine::Action::Export) {
        if (rest.size() != 2)
            return Usage(QStringLiteral("--export braucht einen Ordner und eine Datei."));
        line.folder = rest[0];
        line.file = rest[1];
        return line;
    }
    if (rest.size() > 1)
        return Usage(QStringLiteral("Zu viele Argumente: nur eine Datei kann geöffnet werden."));
    if (rest.size() == 1) {
        if (rest[0].isEmpty())
            return Usage(QStringLiteral("Der Dateiname ist leer."));
        line.action = CommandLine::Action::Open;
        line.file = rest[0];
    }
    return line;
}

QString UsageText()
{
    return QStringLiteral(
        "Aufruf: quadrivo [DATEI]\n"
        "        quadrivo --export ORDNER DATEI\n"
        "        quadrivo --help | --version\n"
        "\n"
        "Velmarin-Auswertung zeigt die Profile eines Teams aus einer Datendatei (TEAM.dat).\n"
        "\n"
        "  (ohne Argument)        fragt im Dateidialog nach der Datendatei\n"
        "  DATEI                  öffnet DATEI ohne den Dateidialog\n"
        "  --export ORDNER DATEI  schreibt ohne Fenster die Profile aller Teammitglieder\n"
        "                         und des Gesamtteams als PDF und PNG sowie die Werte als\n"
        "                         CSV-Tabelle in den ORDNER\n"
        "  --help                 zeigt diese Hilfe\n"
        "  --version              zeigt die Version\n"
        "  --                     beendet die Optionen (für Dateinamen, die mit - beginnen)\n");
}
