#include "SnapshotName.h"

QString SnapshotFileName(const QString &dataFileName, std::uint8_t member)
{
    const qsizetype nameStart = dataFileName.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype nameLength = dataFileName.size() - nameStart;
    const QString prefix = dataFileName.left(nameStart + qMax<qsizetype>(0, nameLength - 4));
    const QString suffix = member > 0 ? QString::number(member) : QStringLiteral("-gesamt");
    return prefix + suffix + QStringLiteral(".jpg");
}
