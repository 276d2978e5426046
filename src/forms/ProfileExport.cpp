#include "ProfileExport.h"

#include "ChartOutput.h"
#include "JpegImage.h"
#include "ProfileChart.h"
#include "Quadrivo1.h"
#include "ScoreTable.h"
#include "SnapshotName.h"
#include "teamGLOBAL.h"

#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <exception>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString Shown(const QByteArray &path) { return QFile::decodeName(path); }

void Write(const QByteArray &path, const QByteArray &bytes)
{
    WriteFileAtomically(path, bytes.constData(), std::size_t(bytes.size()));
}

} // namespace

int ExportProfiles(const QByteArray &folder, const QByteArray &dataFile, QTextStream &errors)
{
    if (ReadTeamFile(dataFile) != 0) {
        errors << QStringLiteral("Die Datei %1 lässt sich nicht öffnen.\n").arg(Shown(dataFile));
        return 1;
    }
    struct stat info {};
    if (::stat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        errors << QStringLiteral("Der Ordner %1 existiert nicht.\n").arg(Shown(folder));
        return 1;
    }
    if (::access(folder.constData(), W_OK | X_OK) != 0) {
        errors << QStringLiteral("In den Ordner %1 kann nicht geschrieben werden.\n").arg(Shown(folder));
        return 1;
    }
    DataFileName = dataFile;
    const QByteArray base = (folder.endsWith('/') ? folder : folder + '/') + ViewFileStem(dataFile);
    const int members = std::min<int>(TeamData.MemberCount(), TeamFile::SlotCount);
    try {
        for (int view = 1; view <= members + 1; ++view) {
            const auto member = std::uint8_t(view <= members ? view : 0);   // the whole team last
            const QByteArray name = base + (member ? QByteArray::number(member) : QByteArrayLiteral("-gesamt"));
            // The chart as the chart window draws it, window and all, never shown.
            Tquadrivo1frm window;
            SelectedMember = member;
            window.FormActivate(&window);
            Write(name + ".pdf", ChartPdf(*window.Chart1, window.windowTitle()));
            Write(name + ".png", ChartPng(*window.Chart1));
        }
        Write(base + "-Werte.csv", ScoreTable());
    } catch (const std::exception &e) {
        errors << QString::fromUtf8(e.what()) << ".\n";
        return 1;
    }
    return 0;
}
