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
    // The files are named as the data file's snapshots would be, in `folder`.
    const QByteArray inFolder = (folder.endsWith('/') ? folder : folder + '/');
    const QByteArray asIfInFolder = inFolder + dataFile.mid(dataFile.lastIndexOf('/') + 1);
    const int members = std::min<int>(TeamData.MemberCount(), TeamFile::SlotCount);
    try {
        for (int view = 1; view <= members + 1; ++view) {
            const auto member = std::uint8_t(view <= members ? view : 0);   // the whole team last
            // The chart as the chart window draws it, window and all, never shown.
            Tquadrivo1frm window;
            SelectedMember = member;
            window.FormActivate(&window);
            WriteFileAtomically(ViewFileName(asIfInFolder, member, ".pdf"), ChartPdf(*window.Chart1, window.windowTitle()));
            WriteFileAtomically(ViewFileName(asIfInFolder, member, ".png"), ChartPng(*window.Chart1));
        }
        WriteFileAtomically(inFolder + ViewFileStem(dataFile) + "-Werte.csv", ScoreTable());
    } catch (const std::exception &e) {
        errors << QString::fromUtf8(e.what()) << ".\n";
        return 1;
    }
    return 0;
}
