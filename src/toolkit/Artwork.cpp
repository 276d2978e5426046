#include "Artwork.h"

#include "ImageBox.h"

#include <QPixmap>

const QImage &LogoPicture()
{
    static const QImage logo = LoadResourcePicture(QStringLiteral(":/quadrivo/logo.jpg"));
    return logo;
}

QIcon ExitButtonIcon()
{
    // Each with a twice as dense copy, so the glyph stays sharp at a device pixel ratio of 2.
    QIcon icon;
    icon.addFile(QStringLiteral(":/quadrivo/exit.png"), QSize(18, 18), QIcon::Normal);
    icon.addFile(QStringLiteral(":/quadrivo/exit@2x.png"), QSize(36, 36), QIcon::Normal);
    icon.addFile(QStringLiteral(":/quadrivo/exit_disabled.png"), QSize(18, 18), QIcon::Disabled);
    icon.addFile(QStringLiteral(":/quadrivo/exit_disabled@2x.png"), QSize(36, 36), QIcon::Disabled);
    return icon;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/quadrivo/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/quadrivo/icon128.png"), QSize(128, 128));
    return icon;
}
