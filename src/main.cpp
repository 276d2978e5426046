// Velmarin-Auswertung: shows a team questionnaire's profiles, one window per view.
//   quadrivo [FILE] | quadrivo --export DIR FILE | quadrivo --help | --version
#include "Artwork.h"
#include "CommandLine.h"
#include "ErrorDisplay.h"
#include "ProfileExport.h"
#include "Quadrivo.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>

int main(int argc, char **argv)
{
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const CommandLine command = ParseCommandLine(arguments);
    switch (command.action) {
    case CommandLine::Action::Help:
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs("quadrivo " QUADRIVO_VERSION "\n", stdout);
        return 0;
    case CommandLine::Action::Usage:
        std::fprintf(stderr, "quadrivo: %s\n\n%s", command.problem.toLocal8Bit().constData(),
                     UsageText().toLocal8Bit().constData());
        return 2;
    case CommandLine::Action::Export: {
        // No window: the charts are drawn off any screen, so no display is needed. Only the
        // program's own messages reach the terminal, not Qt's notes on its environment.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
        });
        Application app(argc, argv);
        QTextStream errors(stderr);
        return ExportProfiles(command.folder, command.file, errors);
    }
    case CommandLine::Action::Dialog:
    case CommandLine::Action::Open:
        break;
    }

    Application app(argc, argv);
    app.setApplicationName(QStringLiteral("quadrivo"));
    app.setDesktopFileName(QStringLiteral("de.velmarin.quadrivo"));

    // Every text of the program is German, so Qt's own dialogs and boxes are too,
    // whatever the user's locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTranslator qtGerman;
    if (qtGerman.load(QStringLiteral("qtbase_de"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtGerman);

    Tquadrivofrm form(nullptr, Tquadrivofrm::Components::AfterShowing);
    quadrivofrm = &form;
    if (command.action == CommandLine::Action::Open)
        form.OpenWithoutDialog(command.file);
    form.show();
    app.setWindowIcon(ApplicationIcon());   // read and sent once the window is on the screen
    const int code = app.exec();
    quadrivofrm = nullptr;
    return code;
}
