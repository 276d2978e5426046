// Velmarin-Auswertung: shows a team questionnaire's profiles, one window per view.
#include "Artwork.h"
#include "ErrorDisplay.h"
#include "Quadrivo.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
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
    form.show();
    app.setWindowIcon(ApplicationIcon());   // read and sent once the window is on the screen
    const int code = app.exec();
    quadrivofrm = nullptr;
    return code;
}
