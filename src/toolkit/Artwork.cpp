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
    QIcon icon;
    icon.addPixmap(QPixmap(QStringLiteral(":/quadrivo/exit.png")), QIcon::Normal);
    icon.addPixmap(QPixmap(QStringLiteral(":/quadrivo/exit_disabled.png")), QIcon::Disabled);
    return icon;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/quadrivo/icon32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/quadrivo/icon128.png"), QSize(128, 128));
    return icon;
}
